import QtQuick
import QtTest
import "../../modules/qml/pages/mouse"

// The mouse drawing: at most one full-size highlight overlay is held, the
// one that shows.
Item {
    id: root
    width: 400
    height: 500

    MousePicture {
        id: picture
        keyCount: 8
    }

    TestCase {
        name: "MousePicture"
        when: windowShown

        // Every overlay image of the picture, in button order.
        function overlays() {
            var found = []
            function walk(item) {
                for (var i = 0; i < item.children.length; ++i) {
                    var c = item.children[i]
                    if (c.hasOwnProperty("shown") && c.hasOwnProperty("source"))
                        found.push(c)
                    walk(c)
                }
            }
            walk(picture)
            return found
        }

        function init() {
            picture.hoveredKey = -1
            picture.listHoveredKey = -1
            picture.selectedKey = -1
        }

        function test_onlyTheShowingOverlayIsLoaded_data() {
            return [
                { tag: "nothing highlighted", hovered: -1, listed: -1, selected: -1, shown: -1 },
                { tag: "selected button", hovered: -1, listed: -1, selected: 2, shown: 2 },
                { tag: "list hover over selection", hovered: -1, listed: 5, selected: 2, shown: 5 },
                { tag: "picture hover first", hovered: 0, listed: 5, selected: 2, shown: 0 },
                { tag: "last button", hovered: 7, listed: -1, selected: -1, shown: 7 }
            ]
        }
        function test_onlyTheShowingOverlayIsLoaded(row) {
            picture.hoveredKey = row.hovered
            picture.listHoveredKey = row.listed
            picture.selectedKey = row.selected
            var all = overlays()
            compare(all.length, 8)
            for (var i = 0; i < all.length; ++i) {
                var expected = i === row.shown
                compare(all[i].visible, expected, "overlay " + i)
                compare(String(all[i].source) !== "", expected, "source of overlay " + i)
                if (expected) {
                    verify(String(all[i].source).endsWith("/key" + (i + 1) + ".png"))
                    compare(all[i].status, Image.Ready)
                }
            }
        }

        function test_hoverLoadsAndLeavingLetsGo() {
            // Button 1 (left) lies at 59..163 x 22..217 of the picture.
            mouseMove(picture, 100, 100)
            compare(picture.hoveredKey, 0)
            compare(overlays()[0].status, Image.Ready)
            mouseMove(root, 395, 495)
            compare(picture.hoveredKey, -1)
            compare(overlays()[0].status, Image.Null)
        }
    }
}
