import QtQuick 2.12
import QtTest 1.12
import "qrc:/Widgets"

// The TabContainer component on its own, as the toolbox shows it before a
// widget is attached.
Item {
    id: root
    width: 400
    height: 300

    Component {
        id: tabContainerComponent
        TabContainer {}
    }

    TestCase {
        name: "TabContainer"
        when: windowShown

        property var item: null

        function init() {
            item = createTemporaryObject(tabContainerComponent, root)
        }

        function test_withoutWidgetFourButtonsNoPagesAndTheBarWhereAsked() {
            compare(item.width, 160)
            compare(item.height, 120)
            var bar = findChild(item, "tabBar")
            var stack = findChild(item, "stackLayout")
            compare(bar.count, 4)
            for (var i = 0; i < 4; ++i)
                compare(bar.itemAt(i).text, String(i + 1))
            compare(bar.currentIndex, 0)
            compare(stack.count, 0)
            compare(stack.y, bar.height)
            item.tabPosition = "bottom"
            compare(bar.y, item.height - bar.height)
            compare(stack.y, 0)
        }

        function test_getContainerRejectsLocationsWithoutPage() {
            try {
                item.getContainer(0)
                fail("getContainer did not throw")
            } catch (error) {
                compare(error, "Invalid containerLocation 0")
            }
        }

        function test_customImagesFollowTheirIdentifiers() {
            item.imageOnIdentifier = "12"
            verify(item.customOnImageSet)
            verify(!item.customOffImageSet)
            item.imageOnIdentifier = "_basic"
            verify(!item.customOnImageSet)
        }
    }
}
