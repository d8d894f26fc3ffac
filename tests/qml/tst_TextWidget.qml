import QtQuick 2.12
import QtTest 1.12

TestCase {
    name: "TextWidget"

    Item {
        id: canvas
        width: 400
        height: 200
    }

    property var widget: null
    property var item: null

    function init() {
        var component = Qt.createComponent("qrc:/Widgets/TextWidget.qml")
        compare(component.status, Component.Ready, component.errorString())
        widget = testWidgets.createWidget(1, "text")
        widget.widthFraction = 0.5
        widget.heightFraction = 0.5
        item = createTemporaryObject(component, canvas, { cppWidget: widget })
        widget.setQQuickItem(item, true)
    }

    function setProperty(name, value) {
        testWidgets.findProperty(widget, name).value = value
    }

    function test_alignmentReachesTheText_data() {
        return [
            { tag: "Center", index: 1, flag: Text.AlignHCenter },
            { tag: "Left", index: 0, flag: Text.AlignLeft }
        ]
    }

    function test_alignmentReachesTheText(data) {
        setProperty("Align", (data.index + 1) % 3)
        setProperty("Align", data.index)
        compare(item.textAlignment, data.flag)
        compare(findChild(item, "label").horizontalAlignment, data.flag)
    }

    function test_translucentTextColourKeepsItsAlpha() {
        setProperty("Text Colour", "#80ff0000")
        compare(item.textColour, "#80ff0000")
        verify(Qt.colorEqual(findChild(item, "label").color, "#80ff0000"))
    }

    function test_backgroundIsDrawnOnlyWhenNotTransparent() {
        var background = findChild(item, "background")
        compare(background.active, false)
        setProperty("Background Colour", "red")
        setProperty("Radius", 0.25)
        compare(background.active, true)
        verify(Qt.colorEqual(background.item.color, "red"))
        compare(background.item.radius, 0.25 * item.width)
        setProperty("Background Colour", "#00ff0000")
        compare(background.active, false)
    }

    function test_textShrinksToFitTheItem() {
        setProperty("Text", "A rather long label for a small box")
        var label = findChild(item, "label")
        verify(label.font.pixelSize >= 1)
        verify(label.contentWidth <= item.width + 1)
        verify(label.contentHeight <= item.height + 1)
    }
}
