#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtTest>

// The recolouring shader over one colour patch in a real OpenGL scene graph, drawn over black.
class tst_gl_RecolourShader : public QObject
{
    Q_OBJECT

    QQmlEngine mEngine;
    QQuickWindow mWindow;
    QQuickItem* mPatch = nullptr;
    QQuickItem* mEffect = nullptr;

private slots:
    void initTestCase()
    {
        QQmlComponent component(&mEngine);
        component.setData(R"(import QtQuick 2.12
Rectangle {
    width: 32; height: 32; color: "black"
    Rectangle { id: patch; objectName: "patch"; anchors.fill: parent }
    ShaderEffect {
        objectName: "effect"; anchors.fill: parent
        property variant source: ShaderEffectSource { sourceItem: patch; hideSource: true }
        property color newColor
        property color testColor
        property real range: 0.12
        fragmentShader: "qrc:/Recolour.frag"
    }
})", QUrl("qrc:/tst_gl_RecolourShader.qml"));
        auto* scene = qobject_cast<QQuickItem*>(component.create());
        QVERIFY2(scene, qPrintable(component.errorString()));
        scene->setParent(&mWindow);
        scene->setParentItem(mWindow.contentItem());
        mPatch = scene->findChild<QQuickItem*>("patch");
        mEffect = scene->findChild<QQuickItem*>("effect");
        mWindow.resize(32, 32);
        mWindow.setColor(Qt::black);
        mWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mWindow));
        QVERIFY2(mWindow.rendererInterface()->graphicsApi() == QSGRendererInterface::OpenGL,
                 "needs the OpenGL scene graph: xvfb-run, QT_QPA_PLATFORM=xcb, no QT_QUICK_BACKEND=software");
    }
    void pixelsNearTheTestHueTakeTheNewColour_data()
    {
        QTest::addColumn<QColor>("pixel");
        QTest::addColumn<double>("opacity");
        QTest::addColumn<QColor>("drawn");
        // Recolouring green to pink; premultiplied output over black shows as it is.
        QTest::newRow("test colour takes the new colour") << QColor("#6EFF36") << 1.0 << QColor("#FF3399");
        QTest::newRow("other hue is left alone") << QColor("#0D72B8") << 1.0 << QColor("#0D72B8");
        QTest::newRow("item opacity scales a tinted pixel") << QColor("#6EFF36") << 0.5 << QColor(128, 26, 77);
    }
    void pixelsNearTheTestHueTakeTheNewColour()
    {
        QFETCH(QColor, pixel);
        QFETCH(double, opacity);
        QFETCH(QColor, drawn);
        mPatch->setProperty("color", pixel);
        mEffect->setProperty("newColor", QColor("#FF3399"));
        mEffect->setProperty("testColor", QColor("#6EFF36"));
        mEffect->setProperty("opacity", opacity);
        const QImage grabbed = mWindow.grabWindow();
        const QColor seen = grabbed.pixelColor(grabbed.width() / 2, grabbed.height() / 2);
        for (const int difference : {seen.red() - drawn.red(), seen.green() - drawn.green(), seen.blue() - drawn.blue()})
            QVERIFY2(std::abs(difference) <= 3, qPrintable(seen.name() + " drawn, expected " + drawn.name()));
    }
};

QTEST_MAIN(tst_gl_RecolourShader)
#include "tst_gl_RecolourShader.moc"
