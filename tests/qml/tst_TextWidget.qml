import QtQuick 2.12
import QtTest 1.12

TestCase {
    name: "TextWidget"

    Item {
        id: canvas
        width: 400
        height: 200
    }

    function create(properties) {
        var component = Qt.createComponent("qrc:/Widgets/TextWidget.qml")
        compare(component.status, Component.Ready, component.errorString())
        var item = createTemporaryObject(component, canvas, properties || {})
        verify(item !== null)
        return item
    }

    function registeredItem() {
        var widget = testWidgets.createWidget(1, "text")
        widget.xFraction = 0
        widget.yFraction = 0
        widget.widthFraction = 0.5
        widget.heightFraction = 0.5
        var item = create({ cppWidget: widget })
        widget.setQQuickItem(item, true)
        return { widget: widget, item: item }
    }

    function setProperty(widget, name, value) {
        testWidgets.findProperty(widget, name).value = value
    }

    function test_defaultsWithoutWidget() {
        var item = create()
        compare(item.text, "Text...")
        compare(item.textAlignment, Text.AlignLeft)
        compare(item.textColour, "#b3b3b3")
        compare(findChild(item, "background").active, false)
    }

    function test_alignmentReachesTheText_data() {
        return [
            { tag: "Center", index: 1, flag: Text.AlignHCenter },
            { tag: "Left", index: 0, flag: Text.AlignLeft }
        ]
    }

    function test_alignmentReachesTheText(data) {
        var made = registeredItem()
        setProperty(made.widget, "Align", (data.index + 1) % 3)
        setProperty(made.widget, "Align", data.index)
        compare(made.item.textAlignment, data.flag)
        compare(findChild(made.item, "label").horizontalAlignment, data.flag)
    }

    function test_translucentTextColourKeepsItsAlpha() {
        var made = registeredItem()
        setProperty(made.widget, "Text Colour", "#80ff0000")
        compare(made.item.textColour, "#80ff0000")
        var label = findChild(made.item, "label")
        compare(Qt.colorEqual(label.color, "#80ff0000"), true)
    }

    function test_backgroundIsDrawnOnlyWhenNotTransparent() {
        var made = registeredItem()
        var background = findChild(made.item, "background")
        compare(background.active, false)

        setProperty(made.widget, "Background Colour", "red")
        setProperty(made.widget, "Radius", 0.25)
        compare(background.active, true)
        compare(Qt.colorEqual(background.item.color, "red"), true)
        compare(background.item.radius, 0.25 * made.item.width)

        setProperty(made.widget, "Background Colour", "#00ff0000")
        compare(background.active, false)
    }

    function test_textShrinksToFitTheItem() {
        var made = registeredItem()
        setProperty(made.widget, "Text", "A rather long label for a small box")
        var label = findChild(made.item, "label")
        verify(label.font.pixelSize >= 1)
        verify(label.contentWidth <= made.item.width + 1)
        verify(label.contentHeight <= made.item.height + 1)
    }
}
