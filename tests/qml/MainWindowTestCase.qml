import QtQuick 2.12
import QtTest 1.12

// A fresh main window over the stand-in application, with stand-in file
// dialogs and a quit counter; any QML warning fails the test.
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

    function initTestCase() { qmlWarnings.start() }

    function init() {
        _application.reset()
        qmlWarnings.clear()
        quitCount = 0
        saveDialog = createTemporaryObject(fakeDialogComponent, testCase)
        loadDialog = createTemporaryObject(fakeDialogComponent, testCase)
        var component = Qt.createComponent("qrc:/MainWindow.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = createTemporaryObject(component, null, { saveConfigFileDialogDialog: saveDialog,
            loadConfigFileDialogDialog: loadDialog, quitApplication: function() { testCase.quitCount += 1 } })
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
        verify(part(name).visible && part(name).enabled, name + " clickable")
        mouseClick(part(name))
    }

    function calls() { return _application.calls }
    function configCalls() { return _application.currentConfig.calls }
    function connectionCalls() { return _application.connectionInterface.calls }

    // Opens the menu with this title and clicks its item with this text.
    function chooseMenuItem(menuTitle, itemText) {
        var bar = part("mainMenuBar")
        for (var i = 0; i < bar.count; ++i) {
            var menu = bar.menuAt(i)
            if (menu.title !== menuTitle)
                continue
            menu.open()
            tryCompare(menu, "opened", true)
            for (var j = 0; j < menu.count; ++j) {
                if (menu.itemAt(j).text === itemText) {
                    verify(menu.itemAt(j).enabled, itemText + " enabled")
                    mouseClick(menu.itemAt(j))
                    tryCompare(menu, "visible", false)
                    return
                }
            }
        }
        fail("no menu item " + menuTitle + "/" + itemText)
    }

    function startWorking() {
        act("click createButton; idle")
        _application.clearCalls()
    }

    function press() {
        for (var i = 0; i < arguments.length; ++i)
            keySequence(arguments[i])
        wait(0)
    }

    // Runs steps separated by ";": press <key sequences>, key <Qt key name>, click <part>, shown <part>,
    // hidden <part>, idle, menu <title>/<item>, accept <load|save> <url>, reject <load|save>, dirty, close,
    // title <file name shown after the program's name>.
    function act(script) {
        var steps = script.split(";")
        for (var i = 0; i < steps.length; ++i) {
            var words = steps[i].trim().split(" ")
            var rest = words.slice(1).join(" ")
            var dialog = words[1] === "save" ? saveDialog : loadDialog
            switch (words[0]) {
            case "press": press.apply(null, words.slice(1)); break
            case "key": keyClick(Qt["Key_" + rest]); break
            case "click": clickPart(rest); break
            case "shown": tryCompare(part(rest), "visible", true, 5000, steps[i]); break
            case "hidden": tryCompare(part(rest), "visible", false, 5000, steps[i]); break
            case "idle": tryCompare(window, "mainMenuEnabled", true); break
            case "menu": chooseMenuItem.apply(null, rest.split("/")); break
            case "accept": dialog.file = words[2]; dialog.accepted(); break
            case "reject": dialog.rejected(); break
            case "dirty": _application.currentConfig.setDirty(true); break
            case "close": window.close(); break
            case "title": compare(window.title, "Kelvari Editor - " + rest); break
            default: fail("unknown step " + steps[i])
            }
        }
    }

    // Checks the error pop-up's texts (a reason of undefined is not checked) and closes it with Ok.
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
