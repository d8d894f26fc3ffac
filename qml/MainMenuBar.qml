import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// The main window's bar: the File and Help menus on the left, the brand and
// the three page buttons on the right.
Rectangle {
    id: root

    property Action newAction
    property Action openAction
    property Action saveAction
    property Action saveAsAction
    property Action uploadAction
    property Action downloadAction
    // What the menu items show of their keys, in the platform's own notation.
    property string newShortcutText
    property string openShortcutText
    property string saveShortcutText
    property string saveAsShortcutText
    property string exitShortcutText
    property string helpShortcutText
    // Which page is shown, and whether the layout editor has a layout to show.
    property bool layoutManagerShown
    property bool layoutEditorShown
    property bool resourceManagerShown
    property bool layoutEditorAvailable

    readonly property alias layoutManagerButton: layoutManagerButton
    readonly property alias layoutEditorButton: layoutEditorButton
    readonly property alias resourceManagerButton: resourceManagerButton
    readonly property bool menuOpen: fileMenu.visible || helpMenu.visible

    signal exitChosen()
    signal aboutChosen()
    signal helpChosen()

    // Escape (the window's shortcut) closes the open menu through its title,
    // as a click on the title does, so that the bar lets go of it: no title
    // stays highlighted and the next click on a title opens its menu.
    function closeOpenMenu() {
        for (var i = 0; i < mainMenuBar.count; ++i) {
            var item = mainMenuBar.itemAt(i)
            if (item.menu.visible) {
                item.triggered()
                item.highlighted = false
            }
        }
    }

    function openMenu(index) {
        var item = mainMenuBar.itemAt(index)
        if (!item.menu.visible)
            item.triggered()
    }

    height: 28
    color: "black"

    MenuBar {
        id: mainMenuBar
        objectName: "mainMenuBar"
        anchors.left: parent.left
        anchors.top: parent.top
        height: parent.height

        delegate: MenuBarItem {
            id: menuBarItem
            height: 28
            hoverEnabled: true
            font.pointSize: 12
            leftPadding: 12
            rightPadding: 12

            contentItem: Text {
                textFormat: Text.PlainText
                text: menuBarItem.text
                font: menuBarItem.font
                color: menuBarItem.enabled ? "#B3B3B3" : "#4D4E4E"
                verticalAlignment: Text.AlignVCenter
            }
            background: Rectangle {
                color: menuBarItem.highlighted ? "#222222" : "black"
            }
        }

        background: Rectangle {
            color: "black"
        }

        Menu {
            id: fileMenu
            objectName: "fileMenu"
            title: "File"
            topPadding: 4
            // Escape is the window's, which closes the menu through the bar.
            Component.onCompleted: closePolicy = Popup.CloseOnPressOutsideParent | Popup.CloseOnReleaseOutsideParent
            bottomPadding: 4
            background: Rectangle {
                implicitWidth: 240
                color: "black"
                border.color: "#262626"
            }

            CustomMenuItem {
                action: root.newAction
                iconSource: "qrc:/Images/New_File.svg"
                disabledIconSource: "qrc:/Images/New_File_Disabled.svg"
                shortcutText: root.newShortcutText
            }
            CustomMenuItem {
                action: root.openAction
                iconSource: "qrc:/Images/Open_File.svg"
                disabledIconSource: "qrc:/Images/Open_File_Disabled.svg"
                shortcutText: root.openShortcutText
            }
            CustomMenuItem {
                action: root.saveAction
                iconSource: "qrc:/Images/Save_File.svg"
                disabledIconSource: "qrc:/Images/Save_File_Disabled.svg"
                shortcutText: root.saveShortcutText
            }
            CustomMenuItem {
                action: root.saveAsAction
                shortcutText: root.saveAsShortcutText
            }
            CustomMenuItem {
                action: root.uploadAction
                iconSource: "qrc:/Images/Upload_File.svg"
                disabledIconSource: "qrc:/Images/Upload_File_Disabled.svg"
            }
            CustomMenuItem {
                action: root.downloadAction
                iconSource: "qrc:/Images/Download_File.svg"
                disabledIconSource: "qrc:/Images/Download_File_Disabled.svg"
            }
            CustomMenuSeparator {}
            CustomMenuItem {
                text: "Exit"
                shortcutText: root.exitShortcutText
                onTriggered: root.exitChosen()
            }
        }

        Menu {
            id: helpMenu
            objectName: "helpMenu"
            title: "Help"
            topPadding: 4
            Component.onCompleted: closePolicy = Popup.CloseOnPressOutsideParent | Popup.CloseOnReleaseOutsideParent
            bottomPadding: 4
            background: Rectangle {
                implicitWidth: 240
                color: "black"
                border.color: "#262626"
            }

            CustomMenuItem {
                text: "About"
                onTriggered: root.aboutChosen()
            }
            CustomMenuItem {
                text: "Help"
                shortcutText: root.helpShortcutText
                onTriggered: root.helpChosen()
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4

        Image {
            anchors.verticalCenter: parent.verticalCenter
            height: 20
            fillMode: Image.PreserveAspectFit
            sourceSize.height: 40
            source: "qrc:/brandLogo"
        }

        Item { width: 16; height: 1 }

        PageButton {
            id: layoutManagerButton
            objectName: "layoutManagerButton"
            anchors.verticalCenter: parent.verticalCenter
            text: "Layout Manager"
            checked: root.layoutManagerShown
        }
        PageButton {
            id: layoutEditorButton
            objectName: "layoutEditorButton"
            anchors.verticalCenter: parent.verticalCenter
            text: "Layout Editor"
            enabled: root.layoutEditorAvailable
            checked: root.layoutEditorShown
        }
        PageButton {
            id: resourceManagerButton
            objectName: "resourceManagerButton"
            anchors.verticalCenter: parent.verticalCenter
            text: "Resource Manager"
            checked: root.resourceManagerShown
        }
    }
}
