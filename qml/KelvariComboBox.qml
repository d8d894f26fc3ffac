import QtQuick 2.12
import QtQuick.Controls 2.12

// The combo box of the whole editor: light grey on black, an optional prefix
// before the shown text, and it never takes the keyboard focus.
ComboBox {
    id: control

    property string prefix: ""

    focusPolicy: Qt.NoFocus
    implicitHeight: 30
    font.pointSize: 11

    contentItem: Text {
        textFormat: Text.PlainText
        leftPadding: control.height / 10
        rightPadding: control.indicator.width + 4
        text: control.prefix + control.displayText
        font: control.font
        color: "#B3B3B3"
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    indicator: Canvas {
        x: control.width - width - 6
        y: (control.height - height) / 2
        width: 10
        height: 6
        contextType: "2d"
        onPaint: {
            var context = getContext("2d")
            context.reset()
            context.moveTo(0, 0)
            context.lineTo(width, 0)
            context.lineTo(width / 2, height)
            context.closePath()
            context.fillStyle = "#B3B3B3"
            context.fill()
        }
    }

    background: Rectangle {
        color: "black"
        border.color: "#4D4E4E"
        border.width: 1
    }

    delegate: ItemDelegate {
        id: entry
        width: control.width
        height: Math.max(control.height, 24)
        highlighted: control.highlightedIndex === index
        hoverEnabled: true
        focusPolicy: Qt.NoFocus

        contentItem: Text {
            textFormat: Text.PlainText
            leftPadding: control.height / 10
            text: control.textRole ? (Array.isArray(control.model) ? modelData[control.textRole] : model[control.textRole])
                                   : modelData
            font: control.font
            color: "#B3B3B3"
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }

        background: Rectangle {
            color: entry.highlighted ? "#4D4E4E" : (entry.hovered ? Qt.rgba(0.2, 0.2, 0.2, 1) : "black")
        }
    }

    popup: Popup {
        y: control.height
        width: control.width
        implicitHeight: contentItem.implicitHeight + 2
        padding: 1

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
        }

        background: Rectangle {
            color: "black"
            border.color: "#4D4E4E"
        }
    }
}
