import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"
import "LayoutDetailsChecks.js" as Checks

// The dialog in which a layout's details are entered: for a new layout, for
// a listed one, or for one that waits to be pasted. Ok is offered only for
// details that are well formed and tell the layout apart from every other.
Rectangle {
    id: popup
    objectName: "layoutDetailsPopup"

    // The layout edited, or null for a new one; it is ignored by the duplicate checks.
    property QtObject currentLayout: null
    property bool pasting: false

    readonly property QtObject config: _application.currentConfig

    readonly property bool isLayoutNameDuplicate: config.isLayoutNameDuplicate(currentLayout, nameField.text)
    readonly property bool isLayoutUsersDuplicate: config.isLayoutUsersDuplicate(currentLayout, allUsersBox.checked,
                                                                                  usersField.text)
    readonly property bool isLayoutInformationDuplicate: config.isLayoutDeviceInformationDuplicate(
        currentLayout, desktopBox.checked, phoneBox.checked, tabletBox.checked, orientationBox.currentIndex)
    readonly property bool isLayoutScenesDuplicate: config.isLayoutScenesDuplicate(currentLayout, allScenesBox.checked,
                                                                                    scenesField.text)
    // Users, devices and scenes all equal to those of one and the same other layout.
    readonly property bool isDuplicate: config.isLayoutDetailsDuplicate(
        currentLayout, allUsersBox.checked, usersField.text, desktopBox.checked, phoneBox.checked, tabletBox.checked,
        orientationBox.currentIndex, allScenesBox.checked, scenesField.text)

    readonly property bool usersAcceptable: allUsersBox.checked || Checks.usersAcceptable(usersField.text)
    readonly property bool scenesAcceptable: allScenesBox.checked || Checks.scenesAcceptable(scenesField.text)
    readonly property bool devicesAcceptable: desktopBox.checked || phoneBox.checked || tabletBox.checked
    readonly property bool aspectAcceptable: !fixedBox.checked || (Checks.aspectAcceptable(aspect1Field.text)
                                                                   && Checks.aspectAcceptable(aspect2Field.text))
    readonly property bool okEnabled: usersAcceptable && scenesAcceptable && devicesAcceptable && aspectAcceptable
                                      && !isDuplicate && !isLayoutNameDuplicate

    // The ratio kept when the fields hold no usable numbers and Fixed is off.
    property int keptAspectRatio1: 4
    property int keptAspectRatio2: 3

    signal okClicked(bool allUsers, string usersString, bool desktop, bool phone, bool tablet, int orientation,
                     bool allScenes, string scenesString, bool fixedAspectRatio, int aspectRatio1, int aspectRatio2,
                     string name)
    signal cancelClicked()

    width: 400
    height: 450
    color: "#333333"
    border.color: "black"
    border.width: 2

    function fill(details) {
        nameField.text = details.name
        allUsersBox.checked = details.allUsers
        usersField.text = details.users
        desktopBox.checked = details.desktop
        phoneBox.checked = details.phone
        tabletBox.checked = details.tablet
        orientationBox.currentIndex = details.orientation
        allScenesBox.checked = details.allScenes
        scenesField.text = details.scenes
        fixedBox.checked = details.fixedAspectRatio
        aspect1Field.text = String(details.aspectRatio1)
        aspect2Field.text = String(details.aspectRatio2)
        keptAspectRatio1 = details.aspectRatio1
        keptAspectRatio2 = details.aspectRatio2
    }

    function setNew() {
        currentLayout = null
        pasting = false
        var count = config.layouts.count
        fill({ name: "New layout " + (count > 0 ? count : ""), allUsers: true, users: "", desktop: true, phone: true,
               tablet: true, orientation: 0, allScenes: true, scenes: "", fixedAspectRatio: false,
               aspectRatio1: 4, aspectRatio2: 3 })
    }

    function setFromLayout(layout, isPasting) {
        currentLayout = layout
        pasting = isPasting
        fill(layout)
    }

    function accept() {
        if (okEnabled)
            okClicked(allUsersBox.checked, usersField.text, desktopBox.checked, phoneBox.checked, tabletBox.checked,
                      orientationBox.currentIndex, allScenesBox.checked, scenesField.text, fixedBox.checked,
                      aspectValue(aspect1Field, keptAspectRatio1), aspectValue(aspect2Field, keptAspectRatio2),
                      nameField.text)
    }

    // As the editor's other pop-ups: Return is Ok, Escape is Cancel, and typing starts in the name.
    onVisibleChanged: if (visible) nameField.forceActiveFocus()
    Shortcut { sequences: ["Return", "Enter"]; enabled: popup.visible; onActivated: popup.accept() }
    Shortcut { sequence: "Escape"; enabled: popup.visible; onActivated: popup.cancelClicked() }

    function aspectValue(field, kept) {
        return Checks.aspectAcceptable(field.text) ? parseInt(field.text, 10) : kept
    }

    Text {
        id: title
        objectName: "detailsTitle"
        textFormat: Text.PlainText
        anchors.top: parent.top
        anchors.topMargin: 14
        anchors.horizontalCenter: parent.horizontalCenter
        text: popup.currentLayout === null ? "Add new layout" : (popup.pasting ? "Paste new layout" : "Edit details")
        font.pointSize: 14
        font.bold: true
        color: "#E6E6E6"
    }

    // Rows of a label, the fields and the warning mark, at fixed places in the fixed-size box.
    Column {
        id: rows
        anchors.top: title.bottom
        anchors.topMargin: 14
        x: 16
        spacing: 8

        readonly property real labelWidth: 96
        readonly property real fieldsWidth: popup.width - 2 * x - labelWidth - 20

        component FieldRow: Row {
            property alias label: labelText.text
            default property alias fields: fieldsRow.data
            property alias warning: warningHolder.data
            height: 26
            Text {
                id: labelText
                textFormat: Text.PlainText
                width: rows.labelWidth
                height: parent.height
                verticalAlignment: Text.AlignVCenter
                color: "#B3B3B3"
                font.pointSize: 11
            }
            Row {
                id: fieldsRow
                width: rows.fieldsWidth
                height: parent.height
                spacing: 6
            }
            Item {
                id: warningHolder
                width: 20
                height: parent.height
            }
        }

        component DetailsCheckBox: LoginPageCheckBox {
            id: checkBox
            anchors.verticalCenter: parent.verticalCenter
            // Wide enough for the text: the box's left padding is a share of its width.
            width: Math.ceil((height + spacing + textWidth.advanceWidth + rightPadding + 2) / 0.95)
            height: 18
            TextMetrics {
                id: textWidth
                font: checkBox.font
                text: checkBox.text
            }
            textColour: "#B3B3B3"
            indicatorColour: "black"
        }

        component DetailsField: DarkTextField {
            height: 26
            implicitHeight: 26
            topPadding: 2
            bottomPadding: 2
            font.pointSize: 11
        }

        FieldRow {
            label: "Name:"
            DetailsField {
                id: nameField
                objectName: "nameField"
                width: rows.fieldsWidth
            }
            warning: LayoutDetailsWarning {
                objectName: "nameWarning"
                anchors.fill: parent
                visible: popup.isLayoutNameDuplicate
                tooltipText: "Layout name must be unique."
            }
        }

        FieldRow {
            label: "Users:"
            DetailsCheckBox {
                id: allUsersBox
                objectName: "allUsersCheckBox"
                text: "All"
            }
            DetailsField {
                id: usersField
                objectName: "usersField"
                width: rows.fieldsWidth - allUsersBox.width - 6
                enabled: !allUsersBox.checked
            }
            warning: LayoutDetailsWarning {
                objectName: "usersWarning"
                anchors.fill: parent
                visible: !popup.usersAcceptable || (popup.isDuplicate && popup.isLayoutUsersDuplicate)
                tooltipText: "Users must be in a \",\" separated list,\nand can be unique to identify the layout."
            }
        }

        FieldRow {
            label: "Devices:"
            DetailsCheckBox {
                id: desktopBox
                objectName: "desktopCheckBox"
                text: "Desktop"
            }
            DetailsCheckBox {
                id: phoneBox
                objectName: "phoneCheckBox"
                text: "Phone"
            }
            DetailsCheckBox {
                id: tabletBox
                objectName: "tabletCheckBox"
                text: "Tablet"
            }
            warning: LayoutDetailsWarning {
                objectName: "devicesWarning"
                anchors.fill: parent
                visible: !popup.devicesAcceptable || (popup.isDuplicate && popup.isLayoutInformationDuplicate)
                tooltipText: "A minimum of one device must be selected.\nThe device or orientation can be unique to identify the layout."
            }
        }

        FieldRow {
            label: "Orientation:"
            KelvariComboBox {
                id: orientationBox
                objectName: "orientationComboBox"
                width: rows.fieldsWidth
                height: 26
                model: ["Any", "Portrait only", "Landscape Only"]
                enabled: phoneBox.checked || tabletBox.checked
            }
        }

        FieldRow {
            label: "Scenes:"
            DetailsCheckBox {
                id: allScenesBox
                objectName: "allScenesCheckBox"
                text: "All"
            }
            DetailsField {
                id: scenesField
                objectName: "scenesField"
                width: rows.fieldsWidth - allScenesBox.width - 6
                enabled: !allScenesBox.checked
            }
            warning: LayoutDetailsWarning {
                objectName: "scenesWarning"
                anchors.fill: parent
                visible: !popup.scenesAcceptable || (popup.isDuplicate && popup.isLayoutScenesDuplicate)
                tooltipText: "Scenes must be in a \",\" sepparated list, with names in quotes\" \", \nand can be unique to identify the layout"
            }
        }

        Text {
            objectName: "duplicateMessage"
            textFormat: Text.PlainText
            width: popup.width - 2 * rows.x
            height: 48
            text: "The above layout details cannot be the\nsame as another existing layout"
            font.pixelSize: 18
            color: "red"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            opacity: popup.isDuplicate ? 1 : 0
        }

        FieldRow {
            label: "Aspect Ratio:"
            DetailsCheckBox {
                id: fixedBox
                objectName: "fixedCheckBox"
                text: "Fixed"
            }
            DetailsField {
                id: aspect1Field
                objectName: "aspectRatio1Field"
                width: 46
                horizontalAlignment: TextInput.AlignHCenter
                enabled: fixedBox.checked
            }
            Text {
                textFormat: Text.PlainText
                height: parent.height
                verticalAlignment: Text.AlignVCenter
                text: ":"
                color: "#B3B3B3"
                font.pointSize: 11
            }
            DetailsField {
                id: aspect2Field
                objectName: "aspectRatio2Field"
                width: 46
                horizontalAlignment: TextInput.AlignHCenter
                enabled: fixedBox.checked
            }
            warning: LayoutDetailsWarning {
                objectName: "aspectWarning"
                anchors.fill: parent
                visible: fixedBox.checked && !(Checks.aspectAcceptable(aspect1Field.text)
                                               && Checks.aspectAcceptable(aspect2Field.text))
            }
        }
    }

    Row {
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 20

        KelvariButton {
            objectName: "detailsOkButton"
            width: 120
            text: "Ok"
            accent: true
            enabled: popup.okEnabled
            onClicked: popup.accept()
        }
        KelvariButton {
            objectName: "detailsCancelButton"
            width: 120
            text: "Cancel"
            onClicked: popup.cancelClicked()
        }
    }
}
