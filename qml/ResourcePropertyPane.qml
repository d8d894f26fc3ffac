import QtQuick 2.12
import QtQuick.Controls 2.12
import "Properties"
import "Properties/PropertyInput.js" as Input

// The properties of the selected image resource: its name can be edited,
// the rest is shown.
Rectangle {
    id: pane

    property QtObject resource: null
    // Closes, undoes and redoes the resource edits made in the fields.
    property QtObject undoInterface: null

    color: "#333333"

    Text {
        id: title
        textFormat: Text.PlainText
        anchors.top: parent.top
        anchors.topMargin: 8
        anchors.horizontalCenter: parent.horizontalCenter
        text: "Properties"
        font.pointSize: 15
        color: "#B3B3B3"
    }

    Rectangle {
        id: rule
        anchors.top: title.bottom
        anchors.topMargin: 4
        anchors.horizontalCenter: parent.horizontalCenter
        width: 0.8 * parent.width
        height: 2
        color: "black"
    }

    ScrollView {
        anchors.top: rule.bottom
        anchors.topMargin: 10
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        visible: pane.resource !== null
        contentWidth: availableWidth

        Column {
            width: pane.width
            spacing: 2

            Repeater {
                model: pane.resource ? pane.resource.properties : null

                Item {
                    id: row
                    readonly property QtObject property: model.qtObject
                    readonly property bool isTextBlock: property.type === Input.Type.TextBlock

                    width: pane.width
                    height: isTextBlock ? 100 : 30
                    visible: property.visible

                    Text {
                        textFormat: Text.PlainText
                        x: 10
                        width: 125
                        height: 30
                        verticalAlignment: Text.AlignVCenter
                        text: row.property.name
                        elide: Text.ElideRight
                        color: "#B3B3B3"
                        font.pointSize: 11
                    }

                    Loader {
                        x: 135
                        width: row.width - x - 10
                        height: row.height
                        sourceComponent: row.property.type === Input.Type.String ? fieldComponent
                                         : row.isTextBlock ? blockComponent : null

                        Component {
                            id: fieldComponent
                            PropertyTextField {
                                objectName: "resourceProperty_" + row.property.name
                                cppProperty: row.property
                                undoInterface: pane.undoInterface
                                enabled: row.property.editable
                                // Shown values stay readable on the dark field.
                                color: row.property.editable ? "#B3B3B3" : "#808080"
                                autoScroll: false
                            }
                        }

                        Component {
                            id: blockComponent
                            PropertyTextBlock {
                                id: block
                                objectName: "resourceProperty_" + row.property.name
                                cppProperty: row.property
                                layout: pane.undoInterface
                                textBlockAlias.wrapMode: TextEdit.NoWrap
                                ScrollBar.horizontal.policy: textBlockAlias.contentWidth > availableWidth
                                                             ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
                                ScrollBar.vertical.policy: textBlockAlias.contentHeight > availableHeight
                                                           ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
                            }
                        }
                    }
                }
            }
        }
    }
}
