import QtQuick 2.12

// A widget component drawn with its defaults, filling this item. A widget
// item without a widget places itself at its default fractions of its parent,
// so it goes into a holder that puts it at this item's origin.
Item {
    id: preview

    property string qmlUrl: ""
    property real defaultWidthFraction: widgetItem ? widgetItem.defaultWidthFraction : 0.2
    property real defaultHeightFraction: widgetItem ? widgetItem.defaultHeightFraction : 0.1
    property Item widgetItem: null

    onQmlUrlChanged: {
        if (widgetItem)
            widgetItem.destroy()
        widgetItem = null
        if (qmlUrl === "")
            return
        var component = Qt.createComponent(qmlUrl)
        if (component.status !== Component.Ready) {
            console.warn(component.errorString())
            return
        }
        widgetItem = component.createObject(holder)
    }

    Item {
        id: holder
        x: -preview.width
        y: -preview.height
        width: preview.defaultWidthFraction > 0 ? preview.width / preview.defaultWidthFraction : 0
        height: preview.defaultHeightFraction > 0 ? preview.height / preview.defaultHeightFraction : 0
    }
}
