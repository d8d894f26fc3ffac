import QtQuick 2.12
import QtTest 1.12

// The canvas stands beside the test case, which is itself never shown.
Item {
    width: 400
    height: 200

    Item {
        id: canvas
        width: 400
        height: 200

        MouseArea {
            id: behind
            property int presses: 0
            anchors.fill: parent
            z: -1
            onPressed: presses += 1
        }
    }

    TestCase {
        name: "WidgetBase"
        when: windowShown

        function create(url, properties) {
            var component = Qt.createComponent(url)
            compare(component.status, Component.Ready, component.errorString())
            return createTemporaryObject(component, canvas, properties || {})
        }

        function test_withoutWidgetTheDefaultFractionsPlaceTheItem() {
            var item = create("qrc:/Widgets/RectangleWidget.qml")
            compare(Qt.rect(item.x, item.y, item.width, item.height), Qt.rect(80, 40, 80, 40))
        }

        function test_unknownWidgetFollowsItsGeometryAndShowsARedQuestionMark() {
            var widget = testWidgets.createWidget(11, "gizmo")
            widget.xFraction = 0.25
            widget.yFraction = 0.5
            widget.widthFraction = 0.5
            widget.heightFraction = 0.25
            var item = create("qrc:/Widgets/UnknownWidget.qml", { cppWidget: widget })
            compare(item.widgetType, "gizmo")
            compare(Qt.rect(item.x, item.y, item.width, item.height), Qt.rect(100, 100, 200, 50))
            widget.xFraction = 0.5
            compare(item.x, 200)
            canvas.width = 800
            compare(Qt.rect(item.x, item.y, item.width, item.height), Qt.rect(400, 100, 400, 50))
            canvas.width = 400
            testWidgets.findProperty(widget, "Z").value = 1.5
            compare(item.z, 1.5)

            compare(findChild(item, "plate").color, Qt.rgba(0, 0, 0, 1))
            compare(findChild(item, "mark").text, "?")
            compare(findChild(item, "mark").color, Qt.rgba(1, 0, 0, 1))
        }

        function test_testWindowCoversADisabledWidget() {
            var widget = testWidgets.createWidget(15, "rect")
            widget.xFraction = 0
            widget.yFraction = 0
            widget.widthFraction = 0.5
            widget.heightFraction = 0.5
            var item = create("qrc:/Widgets/RectangleWidget.qml", { cppWidget: widget, runner: true })
            var overlay = findChild(item, "disabledOverlay")
            compare(overlay.item.visible, false)
            testWidgets.setDisabled(widget, true)
            compare(overlay.item.visible, true)
            behind.presses = 0
            mouseClick(item, 5, 5)
            compare(behind.presses, 0)

            testWidgets.setDisabled(widget, false)
            compare(overlay.item.visible, false)
            mouseClick(item, 5, 5)
            compare(behind.presses, 1)
        }
    }
}
