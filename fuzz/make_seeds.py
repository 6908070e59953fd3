#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/ (run from anywhere).
Seeds look like what Kivra meets: WinLIRC's lines, saved binding files, menu files, key texts
and settings files as the program and its users write them."""
import os

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(root, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def cp(text):
    return text.encode("cp1251")


# --- fuzz_winlirc_stream: mode byte, chunk size - 1, fault seed, then the bytes -------------
SETUP, GATE, LA_WINDOW, NESTED, FAILING, FAULTS = 1, 2, 4, 8, 16, 32


def stream(name, mode, chunk, seed, data):
    put("fuzz_winlirc_stream", name, bytes([mode, chunk - 1, seed]) + data)


def lirc(code, repeat, button, remote="RM-D420", end=b"\n"):
    return b"%016x %02x " % (code, repeat) + button + b" " + remote.encode() + end


press = lirc(0xF40BF0, 0, b"VOL_UP")
stream("one_press", 0, 256, 0, press)
stream("held_button", 0, 7, 1, b"".join(lirc(0xF40BF0, r, b"VOL_UP") for r in range(24)))
stream("setup_capture", SETUP, 256, 2, lirc(0xA05F, 0, b"POWER") + lirc(0xA05F, 1, b"POWER"))
stream("light_alloy_running", GATE | LA_WINDOW, 256, 3, press + lirc(0x10EF, 0, b"PLAY"))
stream("menu_walk_nested", NESTED, 40, 4,
       b"".join(lirc(0x20DF, 0, b) for b in [b"MENU", b"DOWN", b"DOWN", b"RIGHT", b"OK", b"BACK"]))
stream("server_resets", FAULTS | NESTED | FAILING, 13, 5,
       b"".join(lirc(0x807F + i, 0, b"KEY_%d" % i) for i in range(30)))
stream("sighup_crlf", 0, 5, 6, b"BEGIN\nSIGHUP\nEND\n" + lirc(0x1234, 0, b"OK", "lirc", b"\r\n"))
stream("cyrillic_remote", 0, 256, 7, b"000000000000f00f 00 STOP " + cp("Пульт ТВ") + b"\n")
stream("long_line_then_good", 0, 200, 8, b"x" * 1500 + b"\n" + press)
stream("exactly_at_cap", 0, 256, 9, b"0 0 B " + b"r" * (1024 - 6) + b"\n" + press)
stream("binary_with_nul", FAULTS, 3, 10, bytes(range(256)) + b"\0 \0 \0 \0\n" + press)
stream("split_bytewise", 0, 1, 11, press * 3)
stream("blanks_and_tabs", 0, 256, 12, b"1  2 3 4\n\tA B C D\n0 0 \t R\n 0 0 X\n")

# --- fuzz_key_combination: a text, or NUL, key code, modifier bits + scan code << 3, name --
for text in ["7", "F1", "Ctrl+0", "Alt+Enter", "Shift+Insert", "ctrl+c", "Ctrl+c", "Ctrl+Ctrl+A",
             "Ctrl + Shift + A", "Shift+Ctrl+Alt+F10", "Alt+F4", "Alt+Tab", "Ctrl+Alt+Del",
             "Shift+Ctrl+Alt+F12", "ShiftCtrlAltRight", "Ins", "Ctrl+Shift+Esc", "Alt+Alt+Up",
             "F13", "Shift+F10", "Ctrl+Left", "+++", "AltCtrl"]:
    put("fuzz_key_combination", text.replace("+", "_").replace(" ", "-") or "empty", text)
put("fuzz_key_combination", "rt_ctrl_alt_F5", bytes([0, 116, 2 | 4]))
put("fuzz_key_combination", "rt_keypad7_ctrl", bytes([0, 103, 2]))
put("fuzz_key_combination", "rt_shift_A", bytes([0, 65, 1]))
put("fuzz_key_combination", "rt_layout_semicolon", bytes([0, 0xBA, 1 | (0x27 << 3) & 0xFF]) + b";")
put("fuzz_key_combination", "rt_layout_named_alt", bytes([0, 0x5D, 2 | (0x1D << 3) & 0xFF]) + b"Alt Gr")

# --- fuzz_binding_files: LIRCAC.LST, NUL, LIRCHT.LST[, NUL, fault] ---------------------------
header = cp(" Команда WinLIRC")


def lst(lines, end=b"\r\n"):
    return b"".join(line + end for line in lines)


buttons = [header] + [b""] * 44
buttons[1], buttons[7], buttons[14], buttons[25], buttons[26] = b"MENU", b"VOL_UP", b"POWER", b"RED", b"GREEN"
keys = [b""] * 20
keys[0], keys[1] = b"Shift+Ctrl+Alt+F10", b"Alt+F4"
saved = lst(buttons) + b"\0" + lst(keys)
put("fuzz_binding_files", "saved", saved)
put("fuzz_binding_files", "lf_only", lst(buttons, b"\n") + b"\0" + lst(keys, b"\n"))
put("fuzz_binding_files", "cr_only", lst(buttons, b"\r") + b"\0" + lst(keys, b"\r"))
put("fuzz_binding_files", "first_start", lst([header] + [b""] * 44) + b"\0" + lst([b""] * 20))
put("fuzz_binding_files", "cyrillic_buttons", lst([header, cp("Меню"), b"", cp("Громче")]) + b"\0")
put("fuzz_binding_files", "forty_six_lines", lst(buttons + [b"EXTRA"]) + b"\0" + lst(keys + [b"F1"]))
put("fuzz_binding_files", "thirty_lines", lst(buttons[:30]) + b"\0" + lst(keys[:5]))
put("fuzz_binding_files", "no_final_line_end", lst(buttons)[:-2] + b"\0" + lst(keys)[:-2])
put("fuzz_binding_files", "fault_create", saved + b"\0\x01")
put("fuzz_binding_files", "fault_write", saved + b"\0\x02")
put("fuzz_binding_files", "fault_unreadable", saved + b"\0\x03")
put("fuzz_binding_files", "fault_missing", saved + b"\0\x04")

# --- fuzz_menu_loader: the menu file ----------------------------------------------------------
put("fuzz_menu_loader", "two_items",
    "[Sub]\nSubs=2\n[Sub1]\nCaption=Блокнот\nCommand=OPEN\nParameters=notepad.exe\n"
    "[Sub2]\nCaption=Громкость\nSubs=0x2\n[Sub21]\nCaption=Громче\nCommand=VOLUMEUP\n"
    "[Sub22]\nCaption=Тише\nCommand=VOLUMEDOWN\n")
put("fuzz_menu_loader", "huge_count", "[Sub]\nSubs=0x7FFFFFFF\n[Sub1]\nSubs=$10\n")
put("fuzz_menu_loader", "full_menu", "\r\n".join([
    "; Kivra menu", "[Sub]", "Subs=6",
    "[Sub1]", "Caption=&Фильмы", "Command=OPEN", "Parameters=\"D:\\Video\"",
    "[Sub2]", "Caption=-",
    "[Sub3]", "Caption=Окна", "Subs=3",
    "[Sub31]", "Caption=Свернуть", "Command=windowminimize", "Parameters=Notepad",
    "[Sub32]", "Caption=Закрыть", "Command=WINDOWCLOSE", "Parameters=Notepad",
    "[Sub33]", "Caption=Alt+F4", "Command=SENDKEY", "Parameters=Alt+F4",
    "[Sub4]", "Caption=Питание", "Subs=2",
    "[Sub41]", "Caption=Выключить", "Command=SHUTDOWN", "Parameters=POWEROFF",
    "[Sub42]", "Caption=Опечатка", "Command=SHUTDOWN", "Parameters=poweroff",
    "[Sub5]", "Caption=&&Звук", "Command=MUTE", "Parameters=",
    "[Sub6]", "Caption=", "Command=CDDOOR", ""]))
put("fuzz_menu_loader", "coinciding_sections",
    "[Sub]\nSubs=11\n[Sub1]\nCaption=one\nSubs=11\n[Sub11]\nCaption=eleven\nSubs=1\n[Sub111]\nCaption=x\n")
put("fuzz_menu_loader", "deep_chain", "[Sub]\nSubs=1\n" + "".join(
    "[Sub%s]\nCaption=level %d\nSubs=1\n" % ("1" * d, d) for d in range(1, 22)))
put("fuzz_menu_loader", "odd_counts",
    "[sub]\nsubs= 3 \n[SUB1]\nSubs=-1\n[Sub2]\nSubs=ten\n[Sub3]\nSubs=0X2\nCaption='quoted'\n")
put("fuzz_menu_loader", "keys_without_section", "Subs=5\nCaption=stray\n[Sub]\n")

# --- fuzz_settings: the settings file ---------------------------------------------------------
put("fuzz_settings", "defaults", "\r\n".join([
    "[Common]", "SleepIfLightAlloy=1", "StartInTray=0", "isMode=1", "StartWinLIRC=0", "WinLIRCPath=",
    "WinLIRCPort=", "TryConnect=0", "TryPeriod=5", "AutoStart=0", "isActive=1", "SignalTimeOut=100",
    "KeyboardDelay=100", "isSkinned=1", "MenuPath=Kivra.mnu", "[Interface]", "SkinPath=", "Skin=", ""]))
put("fuzz_settings", "odd", "[common]\nTryPeriod=100\nSignalTimeOut=0x1F4\nKeyboardDelay=fast\nisActive=2\n"
    "WinLIRCPort=99999\nisSkinned=0\n")
put("fuzz_settings", "used", "\r\n".join([
    "[Common]", "SleepIfLightAlloy=0", "StartInTray=1", "isMode=0", "StartWinLIRC=1",
    "WinLIRCPath=C:\\Program Files\\WinLIRC\\winlirc.exe", "WinLIRCPort=8765", "TryConnect=1",
    "TryPeriod=15", "AutoStart=1", "isActive=0", "SignalTimeOut=$12C", "KeyboardDelay=-5",
    "isSkinned=1", "MenuPath=C:\\Kivra\\Мои.mnu", "[Interface]", "SkinPath=C:\\Kivra\\Skins",
    "Skin=Blue", ""]))
put("fuzz_settings", "extremes", "[Common]\nTryPeriod=-2147483648\nSignalTimeOut=2147483648\n"
    "KeyboardDelay=0x7FFFFFFFFFFFFFFF\nisMode=99999999999999999999\nWinLIRCPort=-1\nMenuPath=\n")

# --- fuzz_text_codec: bytes as 1251, as UTF-8, and as UTF-16LE units -------------------------
put("fuzz_text_codec", "header_1251", cp(" Команда WinLIRC"))
put("fuzz_text_codec", "russian_utf8", "Режим настройки")
put("fuzz_text_codec", "emoji_utf8", "Пульт \U0001F600 OK")
put("fuzz_text_codec", "utf16_lone_surrogates", "Kivra".encode("utf-16-le") + b"\x00\xd8A\x00\x00\xdc")
put("fuzz_text_codec", "overlong_and_truncated", b"a\xc0\x80b\xe0\x80\xaf\xf4\x90\x80\x80\xed\xa0\x80\xc3")
put("fuzz_settings", "registry_refuses", "#!\n[Common]\nAutoStart=1\nTryPeriod=7\n")
put("fuzz_settings", "settings_refuse_save", "#?\n[Common]\nAutoStart=0\nTryPeriod=7\n")
put("fuzz_settings", "both_refuse", "#*[Common]\nAutoStart=1\n")
put("fuzz_settings", "bad_port_and_quotes", "[Common]\nWinLIRCPort=87a5\nWinLIRCPath=\"C:\\WinLIRC\\winlirc.exe\"\n"
    "MenuPath=  'Kivra.mnu'  \nisActive=1\nStartWinLIRC=1\n")

# --- fuzz_main_window_stream: mode byte, chunk size - 1, seed, then WinLIRC's bytes ---------
# Row r of the table is bound to the button "R<r>"; row 1 (the remote menu) also to "MENU".
def window_stream(name, mode, chunk, seed, buttons):
    data = b"".join(lirc(0x20DF + i, 0, b) for i, b in enumerate(buttons))
    put("fuzz_main_window_stream", name, bytes([mode, chunk - 1, seed]) + data)


window_stream("menu_walk", 0, 40, 1, [b"R1", b"R21", b"R22", b"R21", b"R23"])
window_stream("every_row_once", 0, 256, 2, [b"R%d" % r for r in range(1, 45)])
window_stream("setup_capture", SETUP, 17, 3, [b"R7", b"POWER", b"R1"])
window_stream("resets_while_walking", 4, 9, 4, [b"R1", b"R21"] * 10)
window_stream("light_alloy_gates", GATE, 64, 5, [b"R7", b"R25", b"R26"])
window_stream("user_keys_and_power", 0, 128, 6, [b"R25", b"R26", b"R14"])
