import QtQuick
import "../../basic"
import "profile.js" as Logic

// The user's profiles by name (to be completed: New, Import, menu, rename).
// The main screen's profile drop-down shows `model`.
DialogFrame {
    id: page
    property var lang: Logic.builtInTexts
    property int profileNo: 0
    property int currentIndex: 0
    property alias model: rows

    width: 400
    height: 320
    title: lang[0]
    onCloseClicked: page.visible = false

    ListModel { id: rows }

    function storedList() {
        var list = []
        for (var i = 0; i < rows.count; ++i)
            list.push(Logic.joinRow(rows.get(i).name, rows.get(i).number))
        return list
    }

    function init() {
        rows.clear()
        var read = Logic.rowsOf(ui_View.getNameList(2))
        for (var i = 0; i < read.length; ++i)
            rows.append(read[i])
        if (rows.count === 0)
            rows.append({ name: lang[5], number: 0 })
        currentIndex = Math.max(0, Logic.indexOfNumber(read, profileNo))
        rows.setProperty(0, "name", lang[5])
        ui_View.updataNameList(2, storedList())
    }

    function numberAt(index) {
        return index >= 0 && index < rows.count ? rows.get(index).number : -1
    }

    function indexOfNumber(number) {
        for (var i = 0; i < rows.count; ++i) {
            if (rows.get(i).number === number)
                return i
        }
        return -1
    }
}
