#!/usr/bin/env python3
"""Writes the installed data tree of the sample mouse under modules/.

The files are INI files in the exact form QSettings writes them (values
escaped and quoted the way QSettings does, lists joined by ", ", sections and
keys in QSettings's sorted order). The data tests re-read every file with
QSettings, have it write every value back and check that no byte changed, so
a slip in the escaping or the order here is caught there.

Run from anywhere:  python3 tools/gen_data.py [--out DIR]
(DIR stands for modules/ and defaults to the source tree's.)
"""

import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "modules")


# --- QSettings INI value serialisation ------------------------------------

def escape_string(s):
    """A text value as QSettings writes it (UTF-8, no codec escapes)."""
    out = []
    needs_quotes = False
    if s.startswith("@"):
        out.append("@")
    for ch in s:
        if ch in ";,=":
            needs_quotes = True
        if ch == "\\":
            out.append("\\\\")
        elif ch == '"':
            out.append('\\"')
        elif ord(ch) < 0x20:
            raise ValueError("control character in %r" % s)
        else:
            out.append(ch)
    text = "".join(out)
    if needs_quotes or (text and (text[0] == " " or text[-1] == " ")):
        text = '"' + text + '"'
    return text


def value_text(v):
    if isinstance(v, bool):
        return "true" if v else "false"
    if isinstance(v, int):
        return str(v)
    if isinstance(v, str):
        return escape_string(v)
    if isinstance(v, (list, tuple)):
        if len(v) < 2:
            raise ValueError("one-value and empty lists have other forms")
        return ", ".join(value_text(x) for x in v)
    raise TypeError(type(v))


def write_ini(path, sections):
    """sections: list of (name, [(key, value), ...]).

    QSettings writes sections, and keys within them, sorted by their text
    (so "10" comes before "2"); the files follow that order so that the
    program's first write does not reshuffle them.
    """
    chunks = []
    for name, entries in sorted(sections, key=lambda s: s[0]):
        lines = ["[%s]" % name]
        for key, value in sorted(entries, key=lambda e: e[0]):
            lines.append("%s=%s" % (key, value_text(value)))
        chunks.append("\n".join(lines) + "\n")
    data = "\n".join(chunks).encode("utf-8")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# --- the sample device ----------------------------------------------------

DEVICE_ROWS = [
    # keyboard interface of the same maker; plain reports
    [("type", "0"), ("vid", "04d9"), ("pid", "8008"),
     ("usagePage", "ff01"), ("usage", "0001"),
     ("usagePage2", "ff02"), ("usage2", "0001"),
     ("reportLength", 64), ("isEncode", False)],
    # the mouse; scrambled reports
    [("type", "1"), ("vid", "04d9"), ("pid", "a1ee"),
     ("usagePage", "ff00"), ("usage", "ff00"),
     ("usagePage2", "ff01"), ("usage2", "ff01"),
     ("reportLength", 32), ("isEncode", True), ("sCode", "418205")],
]

AP_CONFIG = [
    ("common", [
        ("name", "TORVALE QUILL MOUSE K270"),
        ("language", "English"),
        ("url", "https://www.torvale.example/quill"),
        ("deviceCount", len(DEVICE_ROWS)),
    ]),
] + [(str(i), row) for i, row in enumerate(DEVICE_ROWS)] + [
    ("mouse", [
        ("isColorful", True),
        ("icType", "553"),
        ("is55328", False),
        ("isGun", True),
        ("keyCount", 8),
        ("profileNo", 0),
        # Sensor 3360 stages are coded in steps of 100 DPI (v / 100 - 1).
        ("minDPI", 100),
        ("maxDPI", 12000),
        ("sensorType", "3360"),
        ("dpiBase", 100),
        ("selectGun", [0, 1, 2]),
    ]),
]

# Factory button assignments (interface encoding), one per slot.
KEY_MATRIX = [
    [0x00, 0x00, 0xF0, 0x00],   # left button
    [0x00, 0x00, 0xF1, 0x00],   # right button
    [0x00, 0x00, 0xF2, 0x00],   # middle button
    [0x00, 0x00, 0xF4, 0x00],   # forward
    [0x00, 0x00, 0xF3, 0x00],   # back
    [0x05, 0x00, 0x01, 0x00],   # DPI+
    [0x05, 0x00, 0x02, 0x00],   # DPI-
    [0x00, 0xF0, 0x1E, 0x02],
] + [[0, 0, 0, 0]] * 6 + [
    [0xFF, 0x00, 0x01, 0x00],   # reserved
    [0xFF, 0x00, 0x02, 0x00],   # reserved
]


def to_device_553(e):
    """Device encoding of one interface entry for the 553 family."""
    t, b1, b2, b3 = e
    if t == 0:
        return [0x0B, b1, 0x00, b3] if b2 == 0xFF else [0x01, b1, b2, b3]
    if t == 1:
        return [0x0A, b1, b2, b3]
    if t in (2, 6, 7):
        return [0x00, b1, b2, b3]
    if t == 4:
        return [0x09, b1, (b2 + 1) & 0xFF, b3]
    if t == 5:
        return [0x07, 0x00, 0x04, 0x01] if b2 == 4 else [0x07, b1, b2, b3]
    if t == 0xFF:
        return [0x04, b1, b2, b3]
    return list(e)


PROFILE = [
    ("mouse", [
        ("reportRate", 3),            # 1000 Hz
        ("dpiCount", 8),
        ("currentDpiCount", 4),
        ("dpiValueArray", [400, 800, 1600, 3200, 4800, 6400, 8000, 12000]),
        ("lightValue", [5, 2, 4]),    # Wave, speed 50 %, brightness 100 %
        ("colorValue", [255, 0, 0, 255, 128, 0, 255, 255, 0, 0, 255, 0,
                        0, 255, 255, 0, 0, 255, 128, 0, 255, 255, 255, 255]),
        # Slider positions: pointer speed index 5 (Windows speed 10),
        # double-click index 6 (480 ms); three lines per wheel notch.
        ("mouseRate", 155),
        ("doubleRate", 188),
        ("scrollRate", 3),
    ]),
    ("mouseKeyMatrix", [(str(k), e) for k, e in enumerate(KEY_MATRIX)]),
    ("mouseFwKeyMatrix", [(str(k), to_device_553(e)) for k, e in enumerate(KEY_MATRIX)]),
    ("XYSensitive", [("0", 4), ("1", 4)]),
    ("selectGun", [("0", 0), ("1", 1), ("2", 2)]),
]

# Recoil presets: rows 0-2 as the factory reset leaves them, 3-5 built in.
GUNS = [
    ("M416", 9, 0, 5, 0),
    ("AKM", 9, 0, 7, 0),
    ("M16A4", 9, 0, 8, 0),
    ("SCAR-L", 10, 0, 10, 0),
    ("UNP9", 10, 0, 10, 0),
    ("Thomson", 10, 0, 10, 0),
]

GUN_DATA = [
    ("gunData", [(str(i), [name, "L-Click", period, x, y, times])
                 for i, (name, period, x, y, times) in enumerate(GUNS)]),
]

# The macro library ships empty, and an empty name list is stored as no key.
# Only the standard profile ships, so New and Import have room from the
# start; a one-entry list carries the marker that keeps it a list.
NAME_LIST = [
    ("gun", [("gunName", [g[0] for g in GUNS])]),
    ("profile", [("profileName", ["Standard0", "loaderzentic"])]),
]


# --- language tables --------------------------------------------------------

def key_code_list():
    codes = list(range(0x04, 0x74)) + [0x85] + list(range(0x87, 0x8C)) \
        + [0x90, 0x91] + list(range(0xE0, 0xE8)) + list(range(0xF0, 0xF5))
    assert len(codes) == 133
    return codes


def key_names_en():
    names = [chr(c) for c in range(ord("A"), ord("Z") + 1)]
    names += [str(i) for i in range(1, 10)] + ["0"]
    # 0x32 is the key beside Enter on European layouts; a name of its own
    # keeps it apart from 0x31 when a macro is turned back into codes.
    names += ["Enter", "Esc", "Back", "Tab", "Space", "-", "=", "[", "]",
              "\\", "Eur1", ";", "'", "`", ",", ".", "/", "Caps"]
    names += ["F%d" % i for i in range(1, 13)]
    names += ["Prt", "Scr", "Pau", "Ins", "Hom", "Pgu", "Del", "End", "PgD",
              "\u25ba", "\u25c4", "\u25bc", "\u25b2"]
    names += ["Num", "KP/", "KP*", "KP-", "KP+", "KPEnter"]
    names += ["KP%d" % i for i in range(1, 10)] + ["KP0", "KP."]
    names += ["Eur2", "App", "Power", "KP="]
    names += ["F%d" % i for i in range(13, 25)]
    names += ["Keypad"]
    names += ["Intl%d" % i for i in range(1, 6)]
    names += ["Lang1", "Lang2"]
    names += ["LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin"]
    names += ["MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"]
    assert len(names) == 133, len(names)
    return names


def key_names_zh():
    zh = {
        "Enter": "回车", "Esc": "Esc", "Back": "退格", "Tab": "Tab",
        "Space": "空格", "Caps": "大写", "Prt": "截屏", "Scr": "滚动锁定",
        "Pau": "暂停", "Ins": "插入", "Hom": "Home", "Pgu": "上页",
        "Del": "删除", "End": "End", "PgD": "下页", "Num": "数字锁定",
        "KPEnter": "KP回车", "App": "菜单", "Power": "电源",
        "Keypad": "小键盘", "Lang1": "韩/英", "Lang2": "汉字",
        "LCtrl": "左Ctrl", "LShift": "左Shift", "LAlt": "左Alt", "LWin": "左Win",
        "RCtrl": "右Ctrl", "RShift": "右Shift", "RAlt": "右Alt", "RWin": "右Win",
        "MS-L": "鼠标左键", "MS-R": "鼠标右键", "MS-M": "鼠标中键",
        "MS-B4": "鼠标后退键", "MS-B5": "鼠标前进键",
    }
    return [zh.get(n, n) for n in key_names_en()]


# Each section: (name, English texts, Chinese texts).
LANG_SECTIONS = [
    ("main",
     ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config", "Reset",
      "Reset factory setting", "Cancel", "OK", "System setting", "Save"],
     ["编辑器", "宏编辑器", "压枪编辑器", "回报率", "配置", "恢复出厂",
      "恢复出厂设置", "取消", "确定", "系统设置", "保存"]),
    ("keyMatrix",
     ["Key ", "Key Function"],
     ["按键 ", "按键功能"]),
    ("keyAssigment",
     ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key",
      "Forward Key", "Back Key", "Light Control", "Fire Function", "Key Value",
      "Click Input", "Rate", "Times", "Endness", "Group Function",
      "Media Function", "Macro Function", "Macro Editor",
      "Macro runs one-time after pressing the button",
      "Macro runs endless loop until any button is pressed",
      "Macro runs endless loop until button is released",
      "DPI Function", "DPI+", "DPI-", "DPI LOOP", "Windows Function",
      "Shortcut Function", "Player", "Next", "Privous", "Stop", "Mute",
      "Play/Pause", "Volumn+", "Volumn-", "My PC", "Index", "Search", "Max",
      "Min", "Desktop", "Run", "New", "Cut", "Copy", "Paste", "Save", "Print",
      "Find", "Redo", "Undo", "Select All", "Gun Function", "One Gun",
      "Two Gun", "Three Gun", "Sniper Key"],
     ["按键 ", "鼠标功能", "左键", "中键", "右键",
      "前进键", "后退键", "灯光控制", "连发功能", "键值",
      "点击输入", "速率", "次数", "无限", "组合键功能",
      "多媒体功能", "宏功能", "宏编辑器",
      "按下按键后宏执行一次",
      "宏循环执行直到按下任意按键",
      "宏循环执行直到松开按键",
      "DPI功能", "DPI+", "DPI-", "DPI循环", "Windows功能",
      "快捷键功能", "播放器", "下一曲", "上一曲", "停止", "静音",
      "播放/暂停", "音量+", "音量-", "我的电脑", "主页", "搜索", "最大化",
      "最小化", "显示桌面", "运行", "新建", "剪切", "复制", "粘贴", "保存", "打印",
      "查找", "重做", "撤销", "全选", "压枪功能", "一号枪",
      "二号枪", "三号枪", "狙击键"]),
    ("dpiSetting", ["DPI", "Stages"], ["DPI", "档位"]),
    ("lightControl",
     ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color",
      "Brightness", "Twinkling", "Wave", "Gliding", "Finger Moving",
      "Vertical Flipping", "YO-YO", "Spotlight", "Breath Loop"],
     ["灯光", "常亮", "呼吸", "霓虹", "关闭", "速度", "颜色",
      "亮度", "闪烁", "波浪", "流光", "指尖流动",
      "上下翻转", "悠悠球", "聚光灯", "循环呼吸"]),
    ("macroEditor",
     ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record",
      "Times", "OK", "Start Record", "Delay", "Delete", "Import", "Export",
      "Insert Delay", "Insert Key", "Insert Left Key", "Insert Middle Key",
      "Insert Right Key"],
     ["宏编辑器", "宏名称", "新建", "删除", "动作", "停止录制",
      "次数", "确定", "开始录制", "延时", "删除", "导入", "导出",
      "插入延时", "插入按键", "插入左键", "插入中键",
      "插入右键"]),
    ("systemSetting",
     ["System Setting", "Mouse Speed", "Double Click Speed", "Slow", "Fast",
      "Scroll Speed", "Number of Rows", "Scroll one Screen",
      "Not offered by this desktop", "Desktop not recognised",
      "Desktop settings tool not installed", "No desktop session",
      "The desktop did not take the pointer speed",
      "The desktop did not take the double-click speed",
      "The desktop did not take the scroll lines"],
     ["系统设置", "鼠标速度", "双击速度", "慢", "快",
      "滚轮速度", "滚动行数", "一次滚动一屏",
      "当前桌面不提供此设置", "无法识别当前桌面", "未安装桌面设置工具", "没有桌面会话",
      "桌面未接受指针速度", "桌面未接受双击速度", "桌面未接受滚动行数"]),
    ("gunControl",
     ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis",
      "Fire adjust", "Rate", "Times", "Endness"],
     ["压枪编辑器", "枪械", "选择枪械", "准星调节", "X轴", "Y轴",
      "射击调节", "射速", "次数", "无限"]),
    ("profile",
     ["config", "New", "Import", "Delete", "Export", "Standard",
      "Bind program...", "Bind program", "Running programs", "Program name or folder",
      "Bind", "Remove", "Bound programs", "Refresh",
      "At most six profiles can exist"],
     ["配置", "新建", "导入", "删除", "导出", "标准",
      "绑定程序...", "绑定程序", "正在运行的程序", "程序名或文件夹",
      "绑定", "移除", "已绑定的程序", "刷新",
      "最多只能有六个配置"]),
    ("keyCode", key_names_en(), key_names_zh()),
    ("other",
     ["DPI Switch to Stage %d" % i for i in range(1, 9)],
     ["DPI切换到第%d档" % i for i in range(1, 9)]),
    # Balloons of the native side: a device write the mouse did not take,
    # settings files that are missing, unreadable or damaged (%1 is the
    # file), the game-profile switches and their tray entry, and settings
    # files that could not be written (%2 is one of the three reasons after
    # it). A section of its own, so the screens' sections keep their
    # indexes.
    ("message",
     ["The mouse did not accept the setting", "File missing: %1",
      "File unreadable: %1", "File damaged: %1",
      "Profile %1: %2 is running", "Back to profile %1: %2 has ended",
      "Switch profiles for games",
      "Changes not saved to %1: %2", "the file or its folder is read-only",
      "the disk is full", "the file cannot be written"],
     ["鼠标未接受该设置", "文件缺失：%1", "无法读取文件：%1", "文件已损坏：%1",
      "配置 %1：%2 正在运行", "切回配置 %1：%2 已结束", "游戏自动切换配置",
      "更改未能保存到 %1：%2", "该文件或其所在文件夹为只读",
      "磁盘已满", "无法写入该文件"]),
]


def lang_file(which):
    sections = []
    for name, en, zh in LANG_SECTIONS:
        assert len(en) == len(zh), name
        texts = en if which == "en" else zh
        entries = [("total", len(texts))] + [(str(i), t) for i, t in enumerate(texts)]
        sections.append((name, entries))
    return sections


def main():
    global ROOT
    if len(sys.argv) == 3 and sys.argv[1] == "--out":
        ROOT = sys.argv[2]
    elif len(sys.argv) != 1:
        sys.stderr.write("usage: gen_data.py [--out DIR]\n")
        return 2
    setting = os.path.join(ROOT, "setting")
    write_ini(os.path.join(setting, "apConfig.bin"), AP_CONFIG)
    write_ini(os.path.join(setting, "apConfigD.bin"), AP_CONFIG)
    write_ini(os.path.join(setting, "pD.bin"), PROFILE)
    for n in range(1, 11):
        write_ini(os.path.join(setting, "p%d.bin" % n), PROFILE)
    write_ini(os.path.join(setting, "name.bin"), NAME_LIST)
    write_ini(os.path.join(ROOT, "gun", "gunData.bin"), GUN_DATA)
    write_ini(os.path.join(ROOT, "i18n", "English.ini"), lang_file("en"))
    write_ini(os.path.join(ROOT, "i18n", "ChineseSimplified.ini"), lang_file("zh"))
    os.makedirs(os.path.join(ROOT, "macro"), exist_ok=True)
    open(os.path.join(ROOT, "macro", ".gitkeep"), "a").close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
