#pragma once

#include "Kelvari/Common/cTabContainer.h"

class cConfigBase;
class cLayout;

// The tab container as the editor makes it: tied to the layout page that
// holds it, so that removing tabs deletes their widgets undoably and the
// widgets read into its tabs join the page's undo history and id numbering.
class cEditorTabContainer : public cTabContainer
{
    Q_OBJECT

public:
    // The layout is the parent when the parent is a layout page.
    cEditorTabContainer(int id, QObject* parent, const cConfigBase& config);

    int GetCurrentContainerIndex() const override;
    void SetCurrentContainerIndex(int index) override;

public slots:
    // Runs while the number of tabs still holds the old value.
    void PropertyNumberOfTabsAboutToChange();

protected:
    void LoadedChildAdded(cWidget* widget, QObject* parent) override;

private:
    cLayout* const mLayout;
};
