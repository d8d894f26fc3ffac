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

        function createContainer() {
            var item = createTemporaryObject(tabContainerComponent, root)
            verify(item)
            return item
        }

        function findNamed(item, name) {
            if (item.objectName === name)
                return item
            for (var i = 0; i < item.children.length; ++i) {
                var found = findNamed(item.children[i], name)
                if (found)
                    return found
            }
            return null
        }

        function test_withoutWidgetFourButtonsAndNoPages() {
            var item = createContainer()
            compare(item.width, 160)
            compare(item.height, 120)
            var bar = findNamed(item, "tabBar")
            compare(bar.count, 4)
            for (var i = 0; i < 4; ++i)
                compare(bar.itemAt(i).text, String(i + 1))
            compare(bar.currentIndex, 0)
            compare(findNamed(item, "stackLayout").count, 0)
        }

        function test_getContainerRejectsLocationsWithoutPage() {
            var item = createContainer()
            try {
                item.getContainer(0)
                fail("getContainer did not throw")
            } catch (error) {
                compare(error, "Invalid containerLocation 0")
            }
        }

        function test_customImagesFollowTheirIdentifiers() {
            var item = createContainer()
            item.imageOnIdentifier = "12"
            verify(item.customOnImageSet)
            verify(!item.customOffImageSet)
            item.imageOnIdentifier = "_basic"
            verify(!item.customOnImageSet)
        }

        function test_barFollowsThePosition() {
            var item = createContainer()
            var bar = findNamed(item, "tabBar")
            var stack = findNamed(item, "stackLayout")
            compare(stack.y, bar.height)
            item.tabPosition = "bottom"
            compare(bar.y, item.height - bar.height)
            compare(stack.y, 0)
        }
    }
}
