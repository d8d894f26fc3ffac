import QtQuick 2.12
import QtTest 1.12

TestCase {
    id: testCase
    name: "LoginPageCheckBox"
    when: windowShown
    visible: true
    width: 400
    height: 100

    function test_drawing() {
        var component = Qt.createComponent("qrc:/LoginPageCheckBox.qml")
        compare(component.status, Component.Ready, component.errorString())
        var box = createTemporaryObject(component, testCase, { width: 200, height: 20, text: "Remember",
                                        textColour: "#b3b3b3", indicatorColour: "#1a1a1a", cornerRadius: 3 })
        compare(box.leftPadding, 10)
        compare(box.indicator.width, 20)
        compare(box.indicator.height, 20)
        compare(box.indicator.color, "#1a1a1a")
        compare(box.indicator.radius, 3)
        var mark = box.indicator.children[0]
        compare(mark.width, 12)
        compare(mark.color, "#b3b3b3")
        verify(!mark.visible)
        compare(box.contentItem.color, "#b3b3b3")

        mouseClick(box)
        verify(box.checked)
        verify(mark.visible)

        box.width = 400
        compare(box.leftPadding, 20)
        compare(box.contentItem.opacity, 1)
        box.enabled = false
        compare(box.contentItem.opacity, 0.3)
    }
}
