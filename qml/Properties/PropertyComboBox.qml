import QtQuick 2.12
import ".."

// A choice property: picking an entry writes its index and closes the undo block.
KelvariComboBox {
    id: combo

    // Tab and Backtab: the row moves to its neighbour.
    signal navigate(bool forward)

    property QtObject modelItem: null
    property QtObject layout: null

    model: modelItem ? modelItem.comboValues : []
    // Kept as a binding element: the combo box's own choosing would end a plain binding.
    Binding on currentIndex {
        value: combo.modelItem && !combo.modelItem.hasMultipleValues ? combo.modelItem.value : -1
    }
    displayText: currentIndex >= 0 ? currentText : ""

    onActivated: {
        modelItem.value = index
        if (layout)
            layout.closeUndoBlock()
    }

    Keys.onShortcutOverride: {
        if (event.key === Qt.Key_Up || event.key === Qt.Key_Down)
            event.accepted = true
    }
    Keys.onUpPressed: if (!popup.visible) popup.open()
    Keys.onDownPressed: if (!popup.visible) popup.open()
    Keys.onTabPressed: navigate(true)
    Keys.onBacktabPressed: navigate(false)
}
