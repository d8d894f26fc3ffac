import QtQuick 2.12
import QtTest 1.12
import "qrc:/Widgets"

// The widget components over widgets of the object model, and the login page's check box.
TestCase {
    id: canvas
    name: "Widgets"
    when: windowShown
    visible: true
    width: 400
    height: 200

    MouseArea {
        id: behind
        property int presses: 0
        anchors.fill: parent
        z: -1
        onPressed: presses += 1
    }

    function create(file, properties) {
        var component = Qt.createComponent(file.indexOf(":") < 0 ? "qrc:/Widgets/" + file : file)
        compare(component.status, Component.Ready, component.errorString())
        return createTemporaryObject(component, canvas, properties || {})
    }

    function place(type, file, rect, runner) {
        var widget = testWidgets.createWidget(1, type)
        ;[widget.xFraction, widget.yFraction, widget.widthFraction, widget.heightFraction] = rect || [0, 0, 0.5, 0.5]
        var item = create(file, { cppWidget: widget, runner: !!runner })
        widget.setQQuickItem(item, true)
        return { widget: widget, item: item, set: function(name, value) {
            testWidgets.findProperty(widget, name).value = value } }
    }

    function geometry(item) { return Qt.rect(item.x, item.y, item.width, item.height) }

    function test_placementFollowsTheFractionsAndAnUnknownTypeShowsAQuestionMark() {
        var unknown = place("gizmo", "UnknownWidget.qml", [0.25, 0.5, 0.5, 0.25])
        compare([unknown.item.widgetType, findChild(unknown.item, "mark").text], ["gizmo", "?"])
        compare(geometry(unknown.item), Qt.rect(100, 100, 200, 50))
        unknown.widget.xFraction = 0.5
        canvas.width = 800
        compare(geometry(unknown.item), Qt.rect(400, 100, 400, 50))
        canvas.width = 400
        unknown.set("Z", 1.5)
        compare(unknown.item.z, 1.5)
    }

    function test_testWindowCoversADisabledWidget() {
        var rect = place("rect", "RectangleWidget.qml", null, true)
        compare([true, false].map(function(disabled) {
            testWidgets.setDisabled(rect.widget, disabled)
            behind.presses = 0
            mouseClick(rect.item, 5, 5)
            return [findChild(rect.item, "disabledOverlay").item.visible, behind.presses] }), [[true, 0], [false, 1]])
    }

    function test_rectangleAndTextDrawWhatTheirPropertiesSay() {
        var rect = place("rect", "RectangleWidget.qml")
        rect.set("Colour", "red")
        rect.set("Radius", 0.5)
        var fill = findChild(rect.item, "fill")
        compare([String(fill.color), fill.width, fill.radius], ["#ff0000", 200, 100])
        var text = place("text", "TextWidget.qml")
        var label = findChild(text.item, "label")
        var background = findChild(text.item, "background")
        compare([1, 2, 0].map(function(align) { text.set("Align", align); return label.horizontalAlignment }),
                [Text.AlignHCenter, Text.AlignRight, Text.AlignLeft])
        text.set("Text Colour", "#80ff0000")
        compare([String(label.color), background.active], ["#80ff0000", false])
        text.set("Background Colour", "red")
        text.set("Radius", 0.25)
        compare([background.active, String(background.item.color), background.item.radius], [true, "#ff0000", 50])
        text.set("Background Colour", "#00ff0000")
        compare(background.active, false)
        text.set("Text", "A rather long label for a small box")
        verify(label.font.pixelSize >= 1 && label.contentWidth <= 201 && label.contentHeight <= 101, "shrunk to fit")
    }

    function test_tabContainerWithoutWidgetHasNoPagesAndFollowsItsBarPositionAndImages() {
        var item = create("TabContainer.qml")
        var [bar, stack] = [findChild(item, "tabBar"), findChild(item, "stackLayout")]
        compare([bar.count, stack.count, stack.y], [4, 0, bar.height])
        item.tabPosition = "bottom"
        compare([bar.y, stack.y], [item.height - bar.height, 0])
        var thrown = ""
        try { item.getContainer(0) } catch (error) { thrown = error }
        compare(thrown, "Invalid containerLocation 0")
        item.imageOnIdentifier = "12"
        compare([item.customOnImageSet, item.customOffImageSet], [true, false])
        item.imageOnIdentifier = "_basic"
        verify(!item.customOnImageSet)
    }

    function test_loginCheckBoxTicks() {
        var box = create("qrc:/LoginPageCheckBox.qml", { width: 200, height: 20 })
        verify(!box.indicator.children[0].visible)
        mouseClick(box)
        compare([box.checked, box.indicator.children[0].visible], [true, true])
    }
}
