import QtQuick 2.12
import QtTest 1.12

TestCase {
    name: "RectangleWidget"

    Item {
        id: canvas
        width: 400
        height: 200
    }

    function test_colourAndRadiusReachTheFill() {
        var component = Qt.createComponent("qrc:/Widgets/RectangleWidget.qml")
        compare(component.status, Component.Ready, component.errorString())
        var widget = testWidgets.createWidget(2, "rect")
        widget.widthFraction = 0.5
        widget.heightFraction = 0.5
        var item = createTemporaryObject(component, canvas, { cppWidget: widget })
        widget.setQQuickItem(item, true)
        compare(item.colour, "#000000")

        testWidgets.findProperty(widget, "Colour").value = "red"
        testWidgets.findProperty(widget, "Radius").value = 0.5
        var fill = findChild(item, "fill")
        verify(Qt.colorEqual(fill.color, "red"))
        compare(fill.radius, item.width / 2)
        compare(fill.width, 200)
        // A translucent colour keeps its alpha.
        testWidgets.findProperty(widget, "Colour").value = "#80336699"
        compare(item.colour, "#80336699")
    }
}
