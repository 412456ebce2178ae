#!/usr/bin/env python3
"""Generate the demo driver-package configuration of the TALVORN printer setup.

Writes, into package/DRVCONFIG (next to this tools folder):

  setup.ini                      catalogue, package switches, USB class-printer
                                 ids, USB port numbers, print processor version,
                                 port and language monitors per Windows version
  setup_<category>.ini           per-model driver sections for 32-bit Windows
  setup_<category>_64.ini        the same models for 64-bit Windows

for the categories receipt, ticket, label and embedded.

The output is deterministic: running the script twice gives identical files.
All files are plain ASCII (a subset of every ANSI code page) with CR LF line
endings, as the Windows profile functions expect.

Usage:  python3 make_config.py [output-folder]
"""

import os
import sys

# ---------------------------------------------------------------------------
# Fixed names of the package
# ---------------------------------------------------------------------------

VENDOR_ID = "7A3D"

CATEGORIES = [
    # code, file stem, catalogue suffix
    (0, "receipt", "-ReceiptPrinter"),
    (1, "ticket", "-TicketPrinter"),
    (2, "label", "-LabelPrinter"),
    (3, "embedded", "-EmbeddedPrinter"),
]

# Section suffix of each Windows version, in TargetOs order 0..7.
OS_SUFFIXES = [".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".2008", ".Win7"]

# Print processor of the maker (GDI family); the STD family uses the system's.
PROC_NAME = "TVPrintProc"
PROC_VERSION = 2

# Port and language monitors (setup.ini, one COMMON-MONITOR section per OS).
LANG_MON_NAME = "TALVORN Language Monitor"
USB_MON_NAME = "TALVORN USB Port"
COM_MON_NAME = "TALVORN COM Port"

# ---------------------------------------------------------------------------
# The model catalogue
# ---------------------------------------------------------------------------
# name      model name as shown in the wizard (also the section prefix)
# cat       PrinterCategory code (0 receipt, 1 ticket, 2 label, 3 embedded)
# code      short file stem of the model's data files (8.3 names)
# pid       USB product id (hex text) for the class-printer hardware id,
#           None for models without a USB port
# usb/lpt/com/net   ports the model offers (1 yes, 0 no)
# lptdefault        1 preselect parallel, 2 preselect USB, 0 first entry
# raster    RASTERVISIABLE: 0 shows the raster check box (advanced mode),
#           1 hides it
# advanced  AdvancedSetup: 1 offers the advanced install mode
# baud      BaudRate preset of the port page
# nt        SystemNTSupported
# oem       1 when the Unidrv driver brings an OEM plug-in pair
# font      1 when the model needs the control font file
# langres   1 when the driver brings language resource DLLs
# attributes  printer attributes (decimal; 64 = local, 576 = local and
#             "print spooled documents first")
MODELS = [
    dict(name="QMT-K410", cat=0, code="QK410", pid="1006",
         usb=1, lpt=1, com=1, net=1, lptdefault=2, raster=0, advanced=1,
         baud=38400, nt=1, oem=1, font=1, langres=1, attributes=576),
    dict(name="QMT-K520", cat=0, code="QK520", pid="1007",
         usb=1, lpt=0, com=1, net=1, lptdefault=2, raster=0, advanced=1,
         baud=115200, nt=1, oem=1, font=1, langres=1, attributes=576),
    dict(name="QMT-K200", cat=0, code="QK200", pid=None,
         usb=0, lpt=1, com=1, net=0, lptdefault=1, raster=0, advanced=1,
         baud=9600, nt=1, oem=0, font=1, langres=0, attributes=64),
    dict(name="QMT-J730", cat=1, code="QJ730", pid="1011",
         usb=1, lpt=0, com=1, net=1, lptdefault=2, raster=0, advanced=1,
         baud=19200, nt=1, oem=1, font=0, langres=1, attributes=64),
    dict(name="QMT-T880", cat=1, code="QT880", pid=None,
         usb=0, lpt=1, com=1, net=0, lptdefault=1, raster=1, advanced=0,
         baud=9600, nt=1, oem=0, font=0, langres=0, attributes=64),
    dict(name="QMT-L300", cat=2, code="QL300", pid="1021",
         usb=1, lpt=0, com=0, net=1, lptdefault=2, raster=0, advanced=1,
         baud=9600, nt=0, oem=0, font=0, langres=0, attributes=64),
    dict(name="QMT-L420", cat=2, code="QL420", pid="1022",
         usb=1, lpt=1, com=1, net=0, lptdefault=2, raster=0, advanced=1,
         baud=38400, nt=1, oem=1, font=0, langres=0, attributes=64),
    dict(name="QMT-E58", cat=3, code="QE58", pid="1031",
         usb=1, lpt=0, com=1, net=0, lptdefault=0, raster=1, advanced=0,
         baud=115200, nt=1, oem=0, font=0, langres=0, attributes=64),
]

DEFAULT_MODEL = "QMT-K410"

# ---------------------------------------------------------------------------
# Helpers
# ---------------------------------------------------------------------------


def write_ini(path, lines):
    """Write lines as ASCII text with CR LF endings and a final CR LF."""
    text = "\r\n".join(lines) + "\r\n"
    data = text.encode("ascii")  # fails loudly on anything outside ASCII
    with open(path, "wb") as f:
        f.write(data)


def section(lines, name, pairs):
    lines.append("[%s]" % name)
    for key, value in pairs:
        lines.append("%s=%s" % (key, value))
    lines.append("")


def header(lines, what):
    lines.append("; TALVORN printer driver setup - %s" % what)
    lines.append("; Generated by package/tools/make_config.py; edit the script, not this file.")
    lines.append("")


def check_83(name):
    """Driver package files use short 8.3 names; "0" means no file."""
    if name == "0":
        return
    stem, dot, ext = name.partition(".")
    assert dot and 1 <= len(stem) <= 8 and 1 <= len(ext) <= 3, name
    assert name.upper() == name, name


# ---------------------------------------------------------------------------
# setup.ini
# ---------------------------------------------------------------------------


def usb_port_names(model):
    """USB port names that the wizard offers for a model (USB_<model>_1..4).

    Models whose name contains "QMT-J7" are installed on the shared port
    names USB_QMT-J7_1..4 instead, so those are the names that carry a number.
    """
    if "QMT-J7" in model["name"]:
        stem = "USB_QMT-J7_"
    else:
        stem = "USB_%s_" % model["name"]
    return [stem + str(n) for n in range(1, 5)]


def build_setup_ini():
    lines = []
    header(lines, "model catalogue and package settings")

    cat_suffix = {code: suffix for code, _, suffix in CATEGORIES}
    pairs = [("DEVICENUMBER", len(MODELS))]
    default_index = None
    for i, m in enumerate(MODELS, 1):
        pairs.append(("DEVICENAME%d" % i, m["name"] + cat_suffix[m["cat"]]))
        if m["name"] == DEFAULT_MODEL:
            default_index = i
    assert default_index is not None
    pairs += [
        ("DEFAULTNAME", default_index),
        ("Supported32OR64", 0),      # one package for 32-bit and 64-bit Windows
        ("LOADLICENSE", 1),          # show the licence page
        ("LANGUAGE", 1),             # English texts: keep the dialog font
        ("GDISTDSign", 0),           # driver family follows the raster box
        ("SupportedUSBMODE", 1),     # USB printers are USB printing-class devices
        ("SHELLEXENAME", "TVUtility"),
        ("Inffilename", "TVPUSB"),
    ]
    section(lines, "DEVICENAME", pairs)

    # Hardware ids for the USB printing-class installation, per model and
    # USB port number 1..4.
    pairs = []
    for m in MODELS:
        if not m["usb"]:
            continue
        hwid = "USB\\VID_%s&PID_%s" % (VENDOR_ID, m["pid"])
        for n in range(1, 5):
            pairs.append(("%s(U)%d" % (m["name"], n), hwid))
    section(lines, "USBCLASSPRINTER", pairs)

    # Number kept in the registry for each USB port name: the port number.
    pairs = []
    seen = set()
    for m in MODELS:
        if not m["usb"]:
            continue
        for n, port in enumerate(usb_port_names(m), 1):
            if port not in seen:
                seen.add(port)
                pairs.append((port, n))
    section(lines, "SUPPORTED-USB-DEVICE", pairs)

    section(lines, "ProcessorVersion", [("DriverVersion", PROC_VERSION)])

    for os_index, suffix in enumerate(OS_SUFFIXES):
        win9x = os_index == 0
        pairs = [
            ("USBLMONitorName", LANG_MON_NAME),
            ("USBLMONitorDLLName", "TVLMON9X.DLL" if win9x else "TVLMON.DLL"),
            ("USBLMONitorVersion", 1 if win9x else 3),
            ("USBMONitorPName", USB_MON_NAME),
            ("USBMONitorPDLLName", "TVUSB9X.DLL" if win9x else "TVUSBMON.DLL"),
            ("USBMONitorPUIDLLName", "TVUSB9UI.DLL" if win9x else "TVUSBUI.DLL"),
            ("USBMONitorVersion", 1 if win9x else 3),
            ("COMMONitorPName", COM_MON_NAME),
            ("COMMONitorPDLLName", "TVCOM9X.DLL" if win9x else "TVCOMMON.DLL"),
            ("COMMONitorPUIDLLName", "TVCOM9UI.DLL" if win9x else "TVCOMUI.DLL"),
            ("COMMONitorVersion", 1 if win9x else 2),
        ]
        for key, value in pairs:
            if key.endswith("DLLName"):
                check_83(value)
        section(lines, "COMMON-MONITOR" + suffix, pairs)
    return lines


# ---------------------------------------------------------------------------
# Category files
# ---------------------------------------------------------------------------


def driver_names(m):
    return [
        ("GDIDriverName", m["name"]),
        ("DriverNameS", "%s (Serial)" % m["name"]),
        ("DriverNameP", "%s (Parallel)" % m["name"]),
        ("DriverNameU", "%s (USB)" % m["name"]),
        ("DriverNameN", "%s (Network)" % m["name"]),
    ]


def model_files(m, os_index, x64):
    """File keys of one model section, as (GDI value, STD value) per key."""
    code = m["code"]
    files = {}
    if os_index == 0:
        # Windows 98/Me: the maker's 16/32-bit GDI driver, or a Unidrv
        # minidriver (the .DRV holds driver, data and configuration).
        files["DriverPath"] = ("TV9XGDI.DRV", code + ".DRV")
        files["DataFile"] = (code + ".DAT", code + ".DRV")
        files["ConfigFile"] = ("TV9XUI.DLL", code + ".DRV")
        files["HelpFile"] = ("TVGDI.HLP", "UNIDRV.HLP")
        files["DataFileDLLName"] = ("0", "UNIDRV.DLL")
        files["DataOemuiDLL"] = ("0", "0")
        files["DataOemuniDLL"] = ("0", "0")
        files["DataOemuniini"] = ("0", "0")
        files["ProcessorDLLName"] = ("TVPP9X.DLL", "0")
        ddk = ("0", "0")
    elif os_index == 1:
        # Windows NT 4.0: version 2 drivers.
        files["DriverPath"] = ("TVGDINT.DLL", "UNIDRV.DLL")
        files["DataFile"] = (code + ".DAT", code + ".GPD")
        files["ConfigFile"] = ("TVGDIUI.DLL", "UNIDRVUI.DLL")
        files["HelpFile"] = ("TVGDI.HLP", "UNIDRV.HLP")
        files["DataFileDLLName"] = ("0", "TVRES.DLL")
        files["DataOemuiDLL"] = ("0", "0")
        files["DataOemuniDLL"] = ("0", "0")
        files["DataOemuniini"] = ("0", "0")
        files["ProcessorDLLName"] = ("TVPPROC.DLL", "0")
        ddk = ("0", "0")
    else:
        # Windows 2000 to Windows 7: version 3 drivers.
        if x64:
            gdi_drv, gdi_ui, res, proc = "TVGDI64.DLL", "TVGDIU64.DLL", "TVRES64.DLL", "TVPPRO64.DLL"
            oemui, oemuni = "TVOEMU64.DLL", "TVOEMN64.DLL"
        else:
            gdi_drv, gdi_ui, res, proc = "TVGDI.DLL", "TVGDIUI.DLL", "TVRES.DLL", "TVPPROC.DLL"
            oemui, oemuni = "TVOEMUI.DLL", "TVOEMUNI.DLL"
        files["DriverPath"] = (gdi_drv, "UNIDRV.DLL")
        files["DataFile"] = (code + ".DAT", code + ".GPD")
        files["ConfigFile"] = (gdi_ui, "UNIDRVUI.DLL")
        files["HelpFile"] = ("TVGDI.HLP", "UNIDRV.HLP")
        files["DataFileDLLName"] = ("0", res)
        if m["oem"]:
            files["DataOemuiDLL"] = ("0", oemui)
            files["DataOemuniDLL"] = ("0", oemuni)
            files["DataOemuniini"] = ("0", code + ".INI")
        else:
            files["DataOemuiDLL"] = ("0", "0")
            files["DataOemuniDLL"] = ("0", "0")
            files["DataOemuniini"] = ("0", "0")
        files["ProcessorDLLName"] = (proc, "0")
        ddk = ("1", "1")
    return files, ddk


def model_section(m, os_index, x64):
    files, ddk = model_files(m, os_index, x64)
    pairs = list(driver_names(m))
    for key in ("DriverPath", "DataFile", "ConfigFile", "HelpFile",
                "DataFileDLLName", "DataOemuiDLL", "DataOemuniDLL",
                "DataOemuniini", "ProcessorDLLName"):
        gdi, std = files[key]
        check_83(gdi)
        check_83(std)
        pairs.append(("GDI" + key, gdi))
        pairs.append(("STD" + key, std))
    pairs += [
        ("GDIPrintProcessor", PROC_NAME),
        ("STDPrintProcessor", "WinPrint"),
        ("ATTRIBUTES", m["attributes"]),
        ("GDI2KDDKDEV", ddk[0]),
        ("STD2KDDKDEV", ddk[1]),
        ("ControlFontFile", "TVCTRL.TTF" if m["font"] else "0"),
        ("USBInternalID", "TVUSBID.DLL" if m["usb"] else "0"),
    ]
    if m["langres"]:
        langres = ["TVLNGENU.DLL", "TVLNGCHS.DLL", "TVLNGJPN.DLL"]
    else:
        langres = []
    for n in range(1, 10):
        value = langres[n - 1] if n <= len(langres) else "0"
        check_83(value)
        pairs.append(("LanguageResourceFile%d" % n, value))

    # The dependent-file list that the installer builds for Windows 2000 and
    # later must fit its 200-byte field: data file, the three Unidrv support
    # files and the optional STD files, each with a zero byte, plus one more.
    if os_index >= 2:
        for family in (0, 1):
            names = [files["DataFile"][family], "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD"]
            names += [files[k][family] for k in ("DataFileDLLName", "DataOemuiDLL",
                                                 "DataOemuniDLL", "DataOemuniini")
                      if not files[k][family].startswith("0")]
            assert sum(len(n) + 1 for n in names) + 1 <= 200, names
    for key, value in pairs:
        if key.startswith(("GDIDriverName", "DriverName")):
            assert len(value) <= 49, value
    return pairs


def port_section(m):
    return [
        ("USBSUPPORTED", m["usb"]),
        ("LPTSUPPORTED", m["lpt"]),
        ("COMSUPPORTED", m["com"]),
        ("NETSUPPORTED", m["net"]),
        ("CLASSSUPPORTED", 1 if m["usb"] else 0),
        ("LPTDEFAULT", m["lptdefault"]),
        ("RASTERVISIABLE", m["raster"]),
        ("AdvancedSetup", m["advanced"]),
        ("SystemNTSupported", m["nt"]),
        ("System2003Supported", 1),
        ("SystemVistaSupported", 1),
        ("System2008Supported", 1),
        ("SystemWin7Supported", 1),
        ("BaudRate", m["baud"]),
    ]


def build_category_ini(cat, stem, x64):
    lines = []
    header(lines, "%s printers, %s Windows" % (stem, "64-bit" if x64 else "32-bit"))
    for m in MODELS:
        if m["cat"] != cat:
            continue
        for os_index, suffix in enumerate(OS_SUFFIXES):
            section(lines, m["name"] + suffix, model_section(m, os_index, x64))
        section(lines, m["name"] + ".PORT", port_section(m))
    return lines


# ---------------------------------------------------------------------------


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, os.pardir, "DRVCONFIG")
    out = os.path.normpath(out)
    os.makedirs(out, exist_ok=True)

    # The start-up port check looks at the last catalogue entry only.
    last = MODELS[-1]
    assert last["usb"] or last["lpt"] or last["com"], "last model needs a port"
    for m in MODELS:
        assert len(m["name"]) <= 199

    written = []
    path = os.path.join(out, "setup.ini")
    write_ini(path, build_setup_ini())
    written.append(path)
    for cat, stem, _ in CATEGORIES:
        for x64 in (False, True):
            name = "setup_%s%s.ini" % (stem, "_64" if x64 else "")
            path = os.path.join(out, name)
            write_ini(path, build_category_ini(cat, stem, x64))
            written.append(path)
    for path in written:
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
