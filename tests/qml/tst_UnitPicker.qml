import QtQuick 2.12
import QtQuick.Window 2.12
import QtTest 1.12

TestCase {
    id: testCase
    name: "UnitPicker"
    when: windowShown
    visible: true
    width: 800
    height: 600

    property var picker: null

    SignalSpy { id: unitSpy; signalName: "selectUnitClicked" }
    SignalSpy { id: ipSpy; signalName: "unitIpClicked" }
    SignalSpy { id: cancelSpy; signalName: "cancelClicked" }

    function initTestCase() {
        qmlWarnings.start()
    }

    function init() {
        testCase.Window.window.requestActivate()
        tryCompare(testCase.Window.window, "active", true)
        _application.reset()
        qmlWarnings.clear()
        _application.connectionInterface.addUnit("10.0.0.5", "Stage left", "Oskel", 0)
        _application.connectionInterface.addUnit("10.0.0.6", "Stage right", "", 1)
        var component = Qt.createComponent("qrc:/UnitPickerPage.qml")
        compare(component.status, Component.Ready, component.errorString())
        picker = createTemporaryObject(component, testCase, { width: 800, height: 600, visible: true,
                                                              selectButtonText: "Connect" })
        picker.showUnitList()
        for (var spy of [unitSpy, ipSpy, cancelSpy]) {
            spy.target = picker
            spy.clear()
        }
    }

    function cleanup() {
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function typeInto(name, keys) {
        var field = child(name)
        waitForRendering(picker)
        mouseClick(field)
        tryCompare(field, "activeFocus", true)
        for (var i = 0; i < keys.length; ++i)
            keyClick(keys[i])
    }

    function child(name) {
        var found = findChild(picker, name)
        verify(found !== null, name)
        return found
    }

    function test_chosenUnitLeavesAsItsIndex() {
        var list = child("unitListView")
        tryCompare(list, "count", 2)
        verify(!child("unitPickerNextButton").enabled)

        list.currentIndex = 1
        verify(child("unitPickerNextButton").enabled)
        mouseClick(child("unitPickerNextButton"))
        verify(picker.loginStep)
        verify(child("usernameField").visible)

        picker.username = "engineer"
        typeInto("passwordField", [Qt.Key_A, Qt.Key_B])
        compare(picker.password, "ab")
        mouseClick(child("unitPickerSelectButton"))
        compare(unitSpy.count, 1)
        compare(unitSpy.signalArguments[0][0], 1)
        compare(ipSpy.count, 0)
    }

    function test_typedAddressMustBeValid() {
        var field = child("ipAddressField")
        typeInto("ipAddressField", [Qt.Key_1, Qt.Key_0, Qt.Key_Period, Qt.Key_0])
        verify(!child("unitPickerNextButton").enabled)
        field.text = "10.0.0.300"
        verify(!child("unitPickerNextButton").enabled)
        field.text = "10.0.0.30"
        verify(child("unitPickerNextButton").enabled)
        mouseClick(child("unitPickerNextButton"))
        mouseClick(child("unitPickerSelectButton"))
        compare(ipSpy.count, 1)
        compare(ipSpy.signalArguments[0][0], "10.0.0.30")
        compare(unitSpy.count, 0)
    }

    function test_storedPasswordAndAdministratorMode() {
        picker.adminUserOnly = true
        picker.usingStoredPassword = true
        child("unitListView").currentIndex = 0
        mouseClick(child("unitPickerNextButton"))
        verify(!child("usernameField").visible)
        compare(child("passwordField").placeholderText, "Using the stored password")
        // Typing a password means the stored one is no longer used.
        typeInto("passwordField", [Qt.Key_X])
        verify(!picker.usingStoredPassword)

        mouseClick(child("unitPickerBackButton"))
        verify(!picker.loginStep)
        mouseClick(child("unitPickerCancelButton"))
        compare(cancelSpy.count, 1)
    }
}
