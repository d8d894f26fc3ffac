// Turns the Markdown user guide into the help PDF at build time:
//   kelvari_help_pdf <guide.md> <output.pdf> [font file...]
// Runs headless (QT_QPA_PLATFORM=offscreen).

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
    {
        std::fprintf(stderr, "usage: kelvari_help_pdf <guide.md> <output.pdf> [font file...]\n");
        return 2;
    }
    for (int i = 3; i < arguments.size(); ++i)
        QFontDatabase::addApplicationFont(arguments.at(i));

    QFile source(arguments.at(1));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    QTextDocument document;
    // Without shaping no ligatures are formed, so the text layer gives back
    // "button" and "Shift" rather than glyphs that extract as "bu ons".
    QFont font(QStringLiteral("Lato"), 10);
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("th { text-align: left; }"));
    document.setMarkdown(QString::fromUtf8(source.readAll()));

    QPdfWriter writer(arguments.at(2));
    writer.setTitle(QStringLiteral("Kelvari Editor User Guide"));
    writer.setCreator(QStringLiteral("Kelvari Editor"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                     QPageLayout::Millimeter));
    writer.setResolution(300);
    document.print(&writer);

    if (QFile(arguments.at(2)).size() == 0)
    {
        std::fprintf(stderr, "no PDF written to %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
