import QtQuick 2.12
import QtQuick.Controls 2.12
import QtQuick.Layouts 1.12

// A tab bar over (or under) a stack of pages, one page per tab of the widget.
// The layout page parents the items of the tab container's children to the
// pages that getContainer returns.
WidgetBase {
    id: tabContainer
    objectName: "tabContainer"

    property string textFont: "lato"
    property string imageOffIdentifier: "_basic"
    property string imageOnIdentifier: "_basic"
    // What the tab pictures ask the image provider for: the ids and the pictures now behind them.
    property string imageOffRequest: "_basic"
    property string imageOnRequest: "_basic"
    property bool customOnImageSet: imageOnIdentifier !== "_basic"
    property bool customOffImageSet: imageOffIdentifier !== "_basic"
    property color tabOnColour: "#ffffff"
    property color tabOffColour: "darkgrey"
    property string tabPosition: "top"

    readonly property bool barOnTop: tabPosition === "top"
    readonly property color pressedOverlayColour: Qt.rgba(0, 0, 0, 0.2)
    readonly property real labelPixelSize: Math.min(0.3 * tabBar.width, 0.5 * tabBar.height)

    defaultWidthFraction: 0.4
    defaultHeightFraction: 0.4

    // The page item that holds the children of a tab.
    function getContainer(containerLocation) {
        if (containerLocation >= 0 && containerLocation < pages.count)
            return pages.itemAt(containerLocation)
        throw "Invalid containerLocation " + containerLocation
    }

    // Label colour that stays readable on the button's own colour.
    function labelColour(background) {
        var luma = 0.299 * background.r + 0.587 * background.g + 0.114 * background.b
        return luma > 0.5 ? "#333333" : "#B3B3B3"
    }

    FontLoader {
        id: fontLoader
        source: "qrc:/" + tabContainer.textFont
    }

    TabBar {
        id: tabBar
        objectName: "tabBar"
        z: 1.5
        width: tabContainer.width
        height: 0.1 * tabContainer.height
        // The buttons fill the bar; without this the bar centres them on their text's height.
        contentHeight: height
        // Separators are drawn by the buttons, so that fractional widths leave no uneven gaps.
        spacing: 0
        // Placed by y, not by anchors: switching a top anchor for a bottom one holds both for a moment, and
        // the bar keeps the container's height they gave it.
        y: tabContainer.barOnTop ? 0 : tabContainer.height - height
        background: Item {}

        Repeater {
            model: tabContainer.cppWidget ? tabContainer.cppWidget.tabs : 4

            TabButton {
                id: tabButton

                readonly property bool customImageShown: checked ? tabContainer.customOnImageSet
                                                                 : tabContainer.customOffImageSet

                text: tabContainer.cppWidget ? model.qtObject.tabName : String(index + 1)
                focusPolicy: Qt.NoFocus
                font.family: fontLoader.name
                // The bar's size for every label, smaller only where a label would not fit its
                // share of the bar (the button's own width follows its text).
                font.pixelSize: Math.max(1, Math.floor(Math.min(tabContainer.labelPixelSize,
                                                                tabContainer.labelPixelSize * room
                                                                / labelMetrics.advanceWidth)))

                readonly property real room: tabBar.width / Math.max(1, tabBar.count) - leftPadding - rightPadding

                TextMetrics {
                    id: labelMetrics
                    font.family: fontLoader.name
                    font.pixelSize: Math.max(1, tabContainer.labelPixelSize)
                    text: tabButton.text
                }

                onPressed: {
                    if (tabContainer.editor && tabContainer.editContent)
                        tabContainer.editContent.setFocus()
                }

                contentItem: Text {
                    textFormat: Text.PlainText
                    text: tabButton.text
                    font: tabButton.font
                    color: tabButton.customImageShown
                           ? "#B3B3B3"
                           : tabContainer.labelColour(tabButton.checked ? tabContainer.tabOnColour
                                                                        : tabContainer.tabOffColour)
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                }

                background: Item {
                    id: buttonBackground

                    Loader {
                        anchors.fill: parent
                        active: tabContainer.customOffImageSet
                        sourceComponent: TabContainerImage {
                            imageRequest: tabContainer.imageOffRequest
                            cache: tabContainer.runner
                            overlayColour: tabContainer.pressedOverlayColour
                            visible: !tabButton.checked
                            masked: tabButton.pressed && !tabButton.checked
                        }
                    }

                    Loader {
                        anchors.fill: parent
                        active: tabContainer.customOnImageSet
                        sourceComponent: TabContainerImage {
                            imageRequest: tabContainer.imageOnRequest
                            cache: tabContainer.runner
                            overlayColour: tabContainer.pressedOverlayColour
                            visible: tabButton.checked
                            masked: tabButton.pressed && tabButton.checked
                        }
                    }

                    Rectangle {
                        anchors.fill: parent
                        visible: !tabButton.customImageShown
                        color: tabButton.checked ? tabContainer.tabOnColour : tabContainer.tabOffColour
                    }

                    Rectangle {
                        anchors.fill: parent
                        visible: tabButton.pressed && !tabButton.customImageShown
                        color: tabContainer.pressedOverlayColour
                    }

                    Rectangle {
                        objectName: "separator"
                        width: 1
                        height: parent.height
                        visible: index > 0
                        color: "black"
                    }
                }
            }
        }
    }

    // Every view's tab bar follows the widget's one current tab.
    Binding {
        target: tabBar
        property: "currentIndex"
        value: tabContainer.cppWidget ? tabContainer.cppWidget.currentTabIndex : 0
    }

    StackLayout {
        id: stack
        objectName: "stackLayout"
        z: 1.5
        width: tabContainer.width
        y: tabContainer.barOnTop ? tabBar.height : 0
        height: tabContainer.height - tabBar.height
        currentIndex: tabBar.currentIndex

        onCurrentIndexChanged: {
            if (tabContainer.cppWidget && currentIndex >= 0)
                tabContainer.cppWidget.currentTabIndex = currentIndex
        }

        Repeater {
            id: pages
            model: tabContainer.cppWidget ? tabContainer.cppWidget.tabs : 0

            Item {
                id: page
                objectName: "containerItem"

                Loader {
                    anchors.fill: parent
                    active: tabContainer.editor
                    source: "../Common/EditorDropArea.qml"
                    onLoaded: {
                        item.objectName = "dropArea"
                        item.widgetBase = tabContainer
                        item.container = page
                        item.containerLocation = Qt.binding(function() { return index })
                    }
                }

                Component.onCompleted: model.qtObject.addLinkedContainerQuickItem(page, tabContainer.editor)
            }
        }
    }

    Rectangle {
        objectName: "frame"
        anchors.fill: parent
        z: 1.5
        color: "transparent"
        border.color: "black"
        border.width: 1
    }
}
