#pragma once

#include <QList>
#include <QString>

class QObject;
class QQuickItem;
class QQuickWindow;
class cLayout;

// What the tests that drive a real window share: the program's own look, and
// finding a named object anywhere in the window.
class cWindowTestSupport
{
public:
    // The fonts and application font the program sets up at start.
    static void UseProgramFonts();
    // The program's names, its settings kept in settingsFolder, and its fonts.
    static void UseProgramSetup(const QString& settingsFolder);
    // Searches the object tree and the item tree (delegates and pop-ups sit in
    // only one of them), then the overlay above the content; fails the test
    // program when nothing has that name.
    static QObject* Find(QQuickWindow* window, const char* name);
    // The object of that name at or below object, or null.
    static QObject* Search(QObject* object, const QString& name);
    // The items at or below item that draw a text in a format of their choice: Text, Label, TextEdit
    // and the texts inside controls.
    static QList<QQuickItem*> FormattedTexts(QQuickItem* item);
    // A page of mixed widgets: a title, a panel, two faders, a knob, a picture and
    // a tab container holding a button and a meter, in that order.
    static void AddSampleWidgets(cLayout& layout);
};
