import QtQuick

// The floating part of a drop-down list or a menu. It is placed like any
// item (x, y, width, height in its parent); while open, its children are
// lifted onto the scene's top item, above every page, mask and dialog, at
// that same place. A press anywhere outside closes it and still reaches
// whatever lies under the pointer; a press on the panel's free parts (its
// border) reaches it too but leaves the panel open. Escape closes it.
// Presses on `keepOpenOn` (a drop-down's own box, which toggles its list)
// do not count as outside.
Item {
    id: layer
    property bool opened: false
    property Item keepOpenOn: null
    // The children go onto the lifted panel.
    default property alias content: panel.data
    readonly property alias panel: panel

    function open() {
        if (opened || !visible)
            return
        var top = topItem()
        catcher.parent = top
        panel.parent = top
        place()
        opened = true
    }

    function close() {
        opened = false
    }

    // The window's content item, or the outermost item outside a window.
    function topItem() {
        var item = layer
        while (item.parent)
            item = item.parent
        return item
    }

    function place() {
        var p = layer.parent ? layer.parent.mapToItem(panel.parent, layer.x, layer.y)
                             : Qt.point(layer.x, layer.y)
        panel.x = p.x
        panel.y = p.y
    }

    function inside(item, from, x, y) {
        if (item === null || !item.visible)
            return false
        var p = from.mapToItem(item, x, y)
        return p.x >= 0 && p.y >= 0 && p.x < item.width && p.y < item.height
    }

    onXChanged: if (opened) place()
    onYChanged: if (opened) place()
    // Its page hidden (a dialog closed, the window put away): nothing floats on.
    onVisibleChanged: if (!visible) close()

    Shortcut {
        sequence: "Esc"
        enabled: layer.opened
        onActivated: layer.close()
    }

    // Over the whole scene, under the panel: sees every press outside the
    // panel, closes, and lets the press go on to what lies beneath.
    MouseArea {
        id: catcher
        visible: layer.opened
        width: parent ? parent.width : 0
        height: parent ? parent.height : 0
        z: 10000
        acceptedButtons: Qt.AllButtons
        onPressed: (mouse) => {
            mouse.accepted = false
            if (!layer.inside(panel, catcher, mouse.x, mouse.y)
                    && !layer.inside(layer.keepOpenOn, catcher, mouse.x, mouse.y))
                layer.close()
        }
        // The wheel scrolls what lies beneath; the panel follows its place.
        onWheel: (wheel) => {
            wheel.accepted = false
            Qt.callLater(layer.place)
        }
    }

    Item {
        id: panel
        visible: layer.opened
        width: layer.width
        height: layer.height
        z: 10001
    }
}
