import QtQuick 2.12
import QtTest 1.12

// What the main window's tests share: a fresh window over the stand-in
// application, stand-in file dialogs, a quit counter, and no QML warnings.
TestCase {
    id: testCase

    when: windowShown

    property var window: null
    property QtObject saveDialog: null
    property QtObject loadDialog: null
    property int quitCount: 0

    Component {
        id: fakeDialogComponent

        QtObject {
            property url file
            property url folder
            property int openCount: 0
            signal accepted()
            signal rejected()
            function open() { openCount += 1 }
        }
    }

    function initTestCase() {
        qmlWarnings.start()
    }

    function init() {
        _application.reset()
        qmlWarnings.clear()
        quitCount = 0
        saveDialog = createTemporaryObject(fakeDialogComponent, testCase)
        loadDialog = createTemporaryObject(fakeDialogComponent, testCase)
        var component = Qt.createComponent("qrc:/MainWindow.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = createTemporaryObject(component, null, {
            saveConfigFileDialogDialog: saveDialog,
            loadConfigFileDialogDialog: loadDialog,
            quitApplication: function() { testCase.quitCount += 1 }
        })
        window.requestActivate()
        tryCompare(window, "active", true)
        tryVerify(function() { return part("initialPage").visible })
    }

    function cleanup() {
        window = null
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function part(name) {
        var found = findChild(window.contentItem, name) || findChild(window.menuBar, name)
        verify(found !== null, name)
        return found
    }

    function clickPart(name) {
        var item = part(name)
        verify(item.visible && item.enabled, name + " clickable")
        mouseClick(item)
    }

    // Opens the menu of the bar with this title and clicks its item with this text.
    function chooseMenuItem(menuTitle, itemText) {
        var bar = part("mainMenuBar")
        var menu = null
        for (var i = 0; i < bar.count; ++i) {
            if (bar.menuAt(i).title === menuTitle)
                menu = bar.menuAt(i)
        }
        verify(menu !== null, menuTitle)
        menu.open()
        tryCompare(menu, "opened", true)
        for (var j = 0; j < menu.count; ++j) {
            var item = menu.itemAt(j)
            if (item.text === itemText) {
                verify(item.enabled, itemText + " enabled")
                mouseClick(item)
                tryCompare(menu, "visible", false)
                return
            }
        }
        fail("no menu item " + itemText)
    }

    function calls() { return _application.calls }
    function configCalls() { return _application.currentConfig.calls }
    function connectionCalls() { return _application.connectionInterface.calls }

    function startWorking() {
        clickPart("createButton")
        tryCompare(window, "mainMenuEnabled", true)
        _application.clearCalls()
    }

    function press(sequence) {
        keySequence(sequence)
        wait(0)
    }

    // Checks the error pop-up's texts (a reason of undefined is not checked) and closes it.
    function acknowledgeError(headline, reason) {
        var popup = part("errorPopup")
        tryCompare(popup, "visible", true)
        compare(popup.headlineText, headline)
        if (reason !== undefined)
            compare(popup.failureReasonText, reason)
        popup.okClicked()
        tryCompare(popup, "visible", false)
    }
}
