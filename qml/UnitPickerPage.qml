import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// Picks a unit from those found on the network, or takes a typed address,
// then asks for the login. The outcome leaves as selectUnitClicked (a list
// index) or unitIpClicked (an address); cancelClicked from either step.
Rectangle {
    id: root

    property string headlineText
    property string selectButtonText: "Connect"
    property string warningText
    property alias username: usernameField.text
    property alias password: passwordField.text
    property bool usingStoredPassword: false
    property alias rememberLoginDetails: rememberCheckBox.checked
    property bool adminUserOnly: false
    property bool willDisconnectTestWindow: false

    signal selectUnitClicked(int unitIndex)
    signal unitIpClicked(string ipAddress)
    signal cancelClicked()

    readonly property var unitList: _application.connectionInterface.unitList
    readonly property bool typedAddressValid: ipField.acceptableInput
    readonly property bool loginStep: stepStack.currentIndex === 1
    readonly property string chosenUnitText: ipField.text !== "" ? ipField.text
                                            : unitListView.currentItem ? unitListView.currentItem.unitTitle : ""

    // Back to the first step with nothing chosen.
    function showUnitList() {
        unitListView.currentIndex = -1
        ipField.text = ""
        showChoice()
    }

    // Back to the first step with the unit or the address chosen before, as after a failure.
    function showChoice() {
        stepStack.currentIndex = 0
        takeFocus()
    }

    // Typing goes to the address field whenever the first step shows.
    function takeFocus() {
        if (root.loginStep)
            goToLogin()
        else
            ipField.forceActiveFocus()
    }

    function goToLogin() {
        if (ipField.text !== "" ? typedAddressValid : unitListView.currentIndex >= 0) {
            stepStack.currentIndex = 1
            if (adminUserOnly || usernameField.text !== "")
                passwordField.forceActiveFocus()
            else
                usernameField.forceActiveFocus()
        }
    }

    function confirm() {
        if (ipField.text !== "")
            unitIpClicked(ipField.text)
        else if (unitListView.currentIndex >= 0)
            selectUnitClicked(unitListView.currentIndex)
    }

    color: Qt.rgba(0, 0, 0, 0.55)
    visible: false

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: wheel.accepted = true
    }

    onVisibleChanged: if (visible) takeFocus()
    Keys.onEscapePressed: cancelClicked()

    Rectangle {
        id: panel
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 560)
        height: Math.min(parent.height - 40, 540)
        color: "#333333"
        border.color: "black"
        border.width: 2
        radius: 4

        Text {
            id: headline
            objectName: "unitPickerHeadline"
            textFormat: Text.PlainText
            anchors.top: parent.top
            anchors.topMargin: 24
            anchors.left: parent.left
            anchors.leftMargin: 28
            anchors.right: parent.right
            anchors.rightMargin: 28
            text: root.headlineText
            font.pointSize: 18
            font.bold: true
            color: "#E6E6E6"
            elide: Text.ElideRight
        }

        Item {
            id: stepStack

            property int currentIndex: 0

            anchors.top: headline.bottom
            anchors.topMargin: 18
            anchors.left: parent.left
            anchors.leftMargin: 28
            anchors.right: parent.right
            anchors.rightMargin: 28
            anchors.bottom: warning.top
            anchors.bottomMargin: 12

            // Step one: the unit.
            Item {
                id: unitStep
                anchors.fill: parent
                visible: stepStack.currentIndex === 0

                Text {
                    id: listLabel
                    textFormat: Text.PlainText
                    text: "Units on the network"
                    font.pointSize: 11
                    color: "#B3B3B3"
                }

                Rectangle {
                    id: listFrame
                    anchors.top: listLabel.bottom
                    anchors.topMargin: 6
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.bottom: ipLabel.top
                    anchors.bottomMargin: 16
                    color: "#262626"
                    border.color: "#1A1A1A"
                    radius: 3

                    ListView {
                        id: unitListView
                        objectName: "unitListView"
                        anchors.fill: parent
                        anchors.margins: 4
                        clip: true
                        currentIndex: -1
                        activeFocusOnTab: true
                        model: root.unitList
                        Keys.onReturnPressed: root.goToLogin()
                        Keys.onEnterPressed: root.goToLogin()
                        // Choosing by keyboard drops a typed address, as a click does.
                        onCurrentIndexChanged: if (activeFocus && currentIndex >= 0) ipField.text = ""
                        spacing: 2
                        boundsBehavior: Flickable.StopAtBounds
                        ScrollBar.vertical: ScrollBar {}

                        delegate: Rectangle {
                            id: unitRow
                            readonly property string unitTitle: model.unitName !== "" ? model.unitName : model.ipAddress
                            width: unitListView.width
                            height: 50
                            radius: 3
                            color: ListView.isCurrentItem ? "#1F3B38" : (rowMouse.containsMouse ? "#2E2E2E" : "transparent")
                            border.width: ListView.isCurrentItem ? 1 : 0
                            border.color: "#04FFC5"

                            Column {
                                anchors.verticalCenter: parent.verticalCenter
                                anchors.left: parent.left
                                anchors.leftMargin: 12
                                anchors.right: parent.right
                                anchors.rightMargin: 12
                                spacing: 3

                                Text {
                                    textFormat: Text.PlainText
                                    width: parent.width
                                    text: unitRow.unitTitle
                                    font.pointSize: 12
                                    color: "#E6E6E6"
                                    elide: Text.ElideRight
                                }
                                Text {
                                    textFormat: Text.PlainText
                                    width: parent.width
                                    text: model.information !== "" ? model.ipAddress + "  \u00B7  " + model.information
                                                                    : model.ipAddress
                                    font.pointSize: 10
                                    color: "#8C8C8C"
                                    elide: Text.ElideRight
                                    // The information may hold line feeds; the row has room for one line.
                                    maximumLineCount: 1
                                }
                            }

                            MouseArea {
                                id: rowMouse
                                anchors.fill: parent
                                hoverEnabled: true
                                onClicked: {
                                    ipField.text = ""
                                    unitListView.currentIndex = index
                                }
                                onDoubleClicked: {
                                    ipField.text = ""
                                    unitListView.currentIndex = index
                                    root.goToLogin()
                                }
                            }
                        }
                    }

                    Text {
                        textFormat: Text.PlainText
                        anchors.centerIn: parent
                        visible: unitListView.count === 0
                        text: "Looking for units..."
                        font.pointSize: 11
                        color: "#808080"
                    }
                }

                Text {
                    id: ipLabel
                    textFormat: Text.PlainText
                    anchors.bottom: ipField.top
                    anchors.bottomMargin: 6
                    text: "Or type the unit's IP address"
                    font.pointSize: 11
                    color: "#B3B3B3"
                }

                DarkTextField {
                    id: ipField
                    objectName: "ipAddressField"
                    anchors.bottom: parent.bottom
                    anchors.left: parent.left
                    anchors.right: parent.right
                    placeholderText: "e.g. 192.168.1.20"
                    validator: RegExpValidator {
                        regExp: /^((25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)\.){3}(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)$/
                    }
                    onTextEdited: if (text !== "") unitListView.currentIndex = -1
                    onAccepted: root.goToLogin()
                }
            }

            // Step two: the login.
            Item {
                id: loginStep
                anchors.fill: parent
                visible: stepStack.currentIndex === 1

                Text {
                    id: loginTarget
                    textFormat: Text.PlainText
                    width: parent.width
                    text: "Log in to " + root.chosenUnitText
                    font.pointSize: 12
                    color: "#B3B3B3"
                    elide: Text.ElideRight
                }

                Column {
                    anchors.top: loginTarget.bottom
                    anchors.topMargin: 20
                    anchors.left: parent.left
                    anchors.right: parent.right
                    spacing: 8

                    Text {
                        textFormat: Text.PlainText
                        text: "Username"
                        font.pointSize: 11
                        color: "#B3B3B3"
                        visible: !root.adminUserOnly
                    }
                    DarkTextField {
                        id: usernameField
                        objectName: "usernameField"
                        width: parent.width
                        visible: !root.adminUserOnly
                        onAccepted: passwordField.forceActiveFocus()
                    }

                    Text {
                        textFormat: Text.PlainText
                        text: root.adminUserOnly ? "Administrator password" : "Password"
                        font.pointSize: 11
                        color: "#B3B3B3"
                        topPadding: root.adminUserOnly ? 0 : 8
                    }
                    DarkTextField {
                        id: passwordField
                        objectName: "passwordField"
                        width: parent.width
                        echoMode: TextInput.Password
                        placeholderText: root.usingStoredPassword ? "Using the stored password" : ""
                        onTextEdited: root.usingStoredPassword = false
                        onAccepted: root.confirm()
                    }

                    Item { width: 1; height: 6 }

                    LoginPageCheckBox {
                        id: rememberCheckBox
                        objectName: "rememberCheckBox"
                        width: parent.width
                        height: 20
                        leftPadding: 0
                        text: root.adminUserOnly ? "Remember password" : "Remember login details"
                        font.pointSize: 11
                        textColour: "#B3B3B3"
                        indicatorColour: "#1A1A1A"
                        cornerRadius: 3
                    }
                }
            }
        }

        Text {
            id: warning
            objectName: "unitPickerWarning"
            textFormat: Text.PlainText
            anchors.bottom: buttons.top
            anchors.bottomMargin: 14
            anchors.left: parent.left
            anchors.leftMargin: 28
            anchors.right: parent.right
            anchors.rightMargin: 28
            height: visible ? implicitHeight : 0
            visible: root.willDisconnectTestWindow && root.warningText !== ""
            text: "\u26A0  " + root.warningText
            font.pointSize: 11
            color: "#FFB347"
            wrapMode: Text.WordWrap
        }

        Row {
            id: buttons
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 24
            anchors.right: parent.right
            anchors.rightMargin: 28
            spacing: 12

            KelvariButton {
                objectName: "unitPickerCancelButton"
                text: "Cancel"
                onClicked: root.cancelClicked()
            }
            KelvariButton {
                objectName: "unitPickerBackButton"
                visible: root.loginStep
                text: "Back"
                onClicked: root.showChoice()
            }
            KelvariButton {
                objectName: "unitPickerNextButton"
                visible: !root.loginStep
                text: "Next"
                accent: true
                enabled: ipField.text !== "" ? root.typedAddressValid : unitListView.currentIndex >= 0
                onClicked: root.goToLogin()
            }
            KelvariButton {
                objectName: "unitPickerSelectButton"
                visible: root.loginStep
                text: root.selectButtonText
                accent: true
                onClicked: root.confirm()
            }
        }
    }
}
