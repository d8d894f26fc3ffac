import QtQuick 2.12
import QtQml.Models 2.12

// A delegate model that shows only the items its test accepts. New items
// enter "initial" and are sorted at once into "shown" or "hidden".
DelegateModel {
    id: proxy

    property var filterAccepts: function(item) { return true }
    // The items presented, in order.
    readonly property alias shownItems: shownGroup

    function sortInitial() {
        while (initialGroup.count > 0) {
            var entry = initialGroup.get(0)
            entry.groups = filterAccepts(entry.model) ? "shown" : "hidden"
        }
    }

    function refilter() {
        if (hiddenGroup.count > 0)
            hiddenGroup.setGroups(0, hiddenGroup.count, "initial")
        if (shownGroup.count > 0)
            shownGroup.setGroups(0, shownGroup.count, "initial")
    }

    onFilterAcceptsChanged: refilter()

    items.includeByDefault: false
    filterOnGroup: "shown"

    groups: [
        DelegateModelGroup {
            id: initialGroup
            name: "initial"
            includeByDefault: true
            onChanged: proxy.sortInitial()
        },
        DelegateModelGroup {
            id: shownGroup
            name: "shown"
        },
        DelegateModelGroup {
            id: hiddenGroup
            name: "hidden"
        }
    ]
}
