import QtQuick 2.12
import QtTest 1.12

// A fresh window over the stand-in application, file dialogs and quit; any QML warning fails the test.
TestCase {
    id: testCase
    when: windowShown

    property string windowUrl: "qrc:/MainWindow.qml"
    property string readyPart: "initialPage"
    property var window: null
    property QtObject saveDialog: null
    property QtObject loadDialog: null
    property int quitCount: 0

    function initTestCase() { qmlWarnings.start() }

    function windowProperties() {
        return { saveConfigFileDialogDialog: saveDialog, loadConfigFileDialogDialog: loadDialog,
                 quitApplication: function() { testCase.quitCount += 1 } }
    }

    function init() {
        _application.reset()
        qmlWarnings.clear()
        quitCount = 0
        var dialog = "import QtQml 2.12; QtObject { property url file; property url folder; property int openCount: 0;"
                     + " signal accepted(); signal rejected(); function open() { openCount += 1 } }"
        ;[saveDialog, loadDialog] = [0, 1].map(function() { return createTemporaryQmlObject(dialog, testCase) })
        var component = Qt.createComponent(windowUrl)
        compare(component.status, Component.Ready, component.errorString())
        window = createTemporaryObject(component, null, windowProperties())
        window.requestActivate()
        tryCompare(window, "active", true)
        act("shown " + readyPart)
    }

    function cleanup() {
        // The window has no parent, so the collector may take it once nothing refers to it, and taken while it is
        // being destroyed it crashes: it stays referred to until it is gone.
        if (window)
            window.destroy()
        tryVerify(function() { return window === null }, 5000, "the window is gone")
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function part(name) {
        var found = [window.contentItem, window.menuBar, window.header].reduce(function(found, root) {
            return found || (root ? findChild(root, name) : null) }, null)
        verify(found !== null, name)
        return found
    }

    function calls() { return _application.calls }
    function root(name) {
        return { application: _application, connection: connection(), window: window }[name] || part(name)
    }
    function connection() { return _application.connectionInterface }
    function anyCalls() { return calls().concat(_application.currentConfig.calls, connectionCalls()) }
    function connectionCalls() { return connection().calls }

    // Opens the menu with this title and clicks its item with this text.
    function chooseMenuItem(menuTitle, itemText) {
        var bar = part("mainMenuBar")
        for (var i = 0, menu = bar.menuAt(0); menu.title !== menuTitle; menu = bar.menuAt(++i)) {}
        for (var j = 0; menu.itemAt(j).text !== itemText; ++j) {}
        menu.open()
        tryCompare(menu, "opened", true)
        verify(menu.itemAt(j).enabled, itemText + " enabled")
        mouseClick(menu.itemAt(j))
        tryCompare(menu, "visible", false)
    }

    function startWorking() { act("click createButton; idle; clear") }

    // Runs steps separated by ";". Actions: press <key sequences>, key <Qt key name>, tab <to part>, click <part>,
    // type <part> <text> (over its text), menu <title>/<item>, accept <load|save> <url>, reject <load|save>,
    // dirty, close, clear (the calls), set <application property> <value>, file <current file name>, layouts <n>,
    // call|put <application, connection, window or part>.<function or property> [<values separated by |>],
    // answer (the unit answers), error <headline>[|<reason>] (checks the error pop-up and presses Ok).
    // Checks: shown|hidden|open|checked|enabled|disabled|focus <part>, idle (the menus are enabled again),
    // title <after the program's name>, calls|config|connection <all calls>, called <one call, now or soon>,
    // opened <load|save> <count>, quits <count>, is <application, connection, window or part>.<path> <value as text>.
    function act(script) {
        var steps = script.split(";")
        for (var i = 0; i < steps.length; ++i) {
            var words = steps[i].trim().split(" ")
            var rest = words.slice(1).join(" ")
            var dialog = words[1] === "save" ? saveDialog : loadDialog
            switch (words[0]) {
            case "press": words.slice(1).forEach(function(keys) { keySequence(keys) }); wait(0); break
            case "key": keyClick(Qt["Key_" + rest]); break
            case "tab":
                for (var t = 0; t < 40 && window.activeFocusItem !== part(rest); ++t)
                    keyClick(Qt.Key_Tab)
                act("focus " + rest)
                break
            case "click": act("enabled " + rest); mouseClick(part(rest)); break
            case "menu": chooseMenuItem.apply(null, rest.split("/")); break
            case "accept": dialog.file = words[2]; dialog.accepted(); break
            case "reject": dialog.rejected(); break
            case "dirty": _application.currentConfig.dirty = true; break
            case "close": window.close(); break
            case "clear": _application.clearCalls(); break
            case "set": _application[words[1]] = words[2] === "true" || (words[2] === "false" ? false : words[2]); break
            case "file": _application.setCurrentFilename(rest); break
            case "layouts": _application.currentConfig.setLayoutCount(Number(rest)); break
            case "open": tryCompare(part(rest), "opened", true, 5000, steps[i]); break
            case "shown": tryCompare(part(rest), "visible", true, 5000, steps[i]); break
            case "hidden": tryCompare(part(rest), "visible", false, 5000, steps[i]); break
            case "idle": tryCompare(window, "mainMenuEnabled", true, 5000, steps[i]); break
            case "title": compare(window.title, "Kelvari Editor - " + rest); break
            case "calls": compare(calls(), words.slice(1), steps[i]); break
            case "config": compare(_application.currentConfig.calls, words.slice(1), steps[i]); break
            case "connection": compare(connectionCalls(), words.slice(1), steps[i]); break
            case "called": tryVerify(function() { return anyCalls().indexOf(rest) >= 0 }, 5000, steps[i]); break
            case "opened": compare(dialog.openCount, Number(words[2]), steps[i]); break
            case "quits": tryCompare(testCase, "quitCount", Number(words[1]), 5000, steps[i]); break
            case "checked": verify(part(rest).checked, steps[i]); break
            case "enabled": verify(part(rest).visible && part(rest).enabled, steps[i]); break
            case "disabled": verify(!part(rest).enabled, steps[i]); break
            case "focus": compare(window.activeFocusItem, part(rest), steps[i]); break
            case "type":
                mouseClick(part(words[1]))
                tryCompare(part(words[1]), "activeFocus", true)
                part(words[1]).selectAll()
                for (var key of words.slice(2).join(" "))
                    keyClick(key)
                break
            case "answer": connection().finishAttempt(true); break
            case "call":
            case "put":
                var object = root(words[1].split(".")[0])
                var member = words[1].split(".")[1]
                var values = words.length > 2 ? words.slice(2).join(" ").split("|").map(function(value) {
                    return value === "true" || (value === "false" ? false : value) }) : []
                if (words[0] === "put")
                    object[member] = values[0]
                else
                    object[member].apply(object, values)
                break
            case "is":
                var path = words[1].split(".")
                var value = path.slice(1).reduce(function(object, key) { return object[key] }, root(path[0]))
                compare(String(value), words.slice(2).join(" "), steps[i])
                break
            case "error":
                var texts = "shown errorPopup; is errorPopup.headlineText " + rest
                act(texts.replace("|", "; is errorPopup.failureReasonText "))
                act("call errorPopup.okClicked; hidden errorPopup")
                break
            default: fail("unknown step " + steps[i])
            }
        }
    }
}
