import QtQuick 2.12
import QtTest 1.12

TestCase {
    name: "RectangleWidget"

    Item {
        id: canvas
        width: 400
        height: 200
    }

    function create(properties) {
        var component = Qt.createComponent("qrc:/Widgets/RectangleWidget.qml")
        compare(component.status, Component.Ready, component.errorString())
        var item = createTemporaryObject(component, canvas, properties || {})
        verify(item !== null)
        return item
    }

    function test_defaultsWithoutWidget() {
        var item = create()
        compare(item.objectName, "rectangleWidget")
        compare(item.colour, "#000000")
        compare(item.cornerRadius, 0)
        compare(item.defaultWidthFraction, 0.2)
        compare(item.defaultHeightFraction, 0.2)
    }

    function test_redRoundedRectangle() {
        var widget = testWidgets.createWidget(2, "rect")
        widget.xFraction = 0
        widget.yFraction = 0
        widget.widthFraction = 0.5
        widget.heightFraction = 0.5
        var item = create({ cppWidget: widget })
        widget.setQQuickItem(item, true)
        compare(item.colour, "#000000")

        testWidgets.findProperty(widget, "Colour").value = "red"
        testWidgets.findProperty(widget, "Radius").value = 0.5
        var fill = findChild(item, "fill")
        compare(item.colour, "#ff0000")
        compare(Qt.colorEqual(fill.color, "red"), true)
        compare(fill.radius, item.width / 2)
        compare(fill.width, 200)
    }

    function test_translucentColourKeepsItsAlpha() {
        var widget = testWidgets.createWidget(3, "rect")
        var item = create({ cppWidget: widget })
        widget.setQQuickItem(item, false)
        testWidgets.findProperty(widget, "Colour").value = "#80336699"
        compare(item.colour, "#80336699")
    }
}
