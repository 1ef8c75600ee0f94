#!/usr/bin/env python3
"""The sources keep their shape: folders include one way, the web modules import in no circle
and no source file is too long (scripts/check-layout). The checker itself is tried first on small made-up trees, so that a
checker that lets everything through fails here too."""
import importlib.machinery
import importlib.util
import os
import sys

ROOT = os.environ.get("HUEBADGE_SOURCE_DIR") or os.path.dirname(
    os.path.dirname(os.path.abspath(__file__)))
SCRIPT = os.path.join(ROOT, "scripts", "check-layout")
# The checker is a script without a .py name, so it is loaded from its path.
loader = importlib.machinery.SourceFileLoader("check_layout", SCRIPT)
layout = importlib.util.module_from_spec(importlib.util.spec_from_loader("check_layout", loader))
loader.exec_module(layout)

# (what, path, included, allowed)
INCLUDE_CASES = [
    ("a folder includes itself", "src/pages/A.cpp", "pages/B.h", True),
    ("a file beside it", "tools/huebadge-defaults/main.cpp", "DomainImport.h", True),
    ("platform among itself, down", "src/platform/ui/UIView.cpp", "platform/system/DeviceRoot.h", True),
    ("platform among itself, up", "src/platform/foundation/A.cpp", "platform/ui/UIView.h", False),
    ("dispatch below system", "src/platform/dispatch/RunLoop.cpp", "platform/system/A.h", False),
    ("prefs takes the rest of the platform", "src/platform/prefs/P.cpp", "platform/ui/UIView.h", True),
    ("the platform never includes the pane", "src/platform/ui/UIView.cpp", "store/HBPreferences.h", False),
    ("store takes the platform", "src/store/S.cpp", "platform/foundation/NSData.h", True),
    ("store takes no model", "src/store/S.cpp", "model/HBFilterKind.h", False),
    ("model takes the store", "src/model/M.cpp", "store/HBPreferences.h", True),
    ("model takes no kit", "src/model/M.cpp", "kit/HBAlert.h", False),
    ("kit takes no model", "src/kit/K.cpp", "model/HBFilterKind.h", False),
    ("a page takes the kit", "src/pages/P.cpp", "kit/HBAlert.h", True),
    ("a filter page takes the model", "src/filters/F.cpp", "model/HBFilterKind.h", True),
    ("pages never include filters", "src/pages/P.cpp", "filters/F.h", False),
    ("filters never include pages", "src/filters/F.cpp", "pages/P.h", False),
    ("color never includes filters", "src/color/C.h", "filters/F.h", False),
    ("the pane never includes a host", "src/pages/P.cpp", "host/HeadlessHost.h", False),
    ("a host takes a page", "src/host/browser/S.cpp", "pages/HBProfileController.h", True),
    ("a tool takes a host", "tools/huebadge-settings/main.cpp", "host/browser/BrowserServer.h", True),
    ("an include from no folder", "src/kit/K.cpp", "tests/support/X.h", False),
]


def include_cases():
    failed = 0
    for what, path, included, allowed in INCLUDE_CASES:
        faults = layout.include_faults({path: f'#include <vector>\n#include "{included}"\n'})
        if (not faults) != allowed:
            print(f"FAIL include rule, {what}: {path} -> {included}: {faults or 'allowed'}")
            failed += 1
    return failed


# (what, modules as {name: [what it imports]}, in a circle)
IMPORT_CASES = [
    ("a chain", {"main.js": ["a.js", "b.js"], "a.js": ["b.js"], "b.js": []}, False),
    ("two that import each other", {"a.js": ["b.js"], "b.js": ["a.js"]}, True),
    ("a circle of three", {"main.js": ["a.js"], "a.js": ["b.js"], "b.js": ["c.js"], "c.js": ["a.js"]},
     True),
    ("a module that imports itself", {"a.js": ["a.js"]}, True),
]


def import_cases():
    failed = 0
    for what, modules, circle in IMPORT_CASES:
        files = {layout.WEB_FOLDER + name: "".join(f"import {{ x }} from './{i}';\n" for i in imports)
                 for name, imports in modules.items()}
        faults = layout.import_faults(files)
        if bool(faults) != circle:
            print(f"FAIL import rule, {what}: {faults or 'no circle found'}")
            failed += 1
    return failed


# (what, path, number of lines, too long)
LINE_CASES = [
    ("at the limit", "src/kit/A.cpp", 450, False),
    ("one over", "src/kit/A.cpp", 451, True),
    ("a header", "src/kit/A.h", 451, True),
    ("a web module", "src/host/browser/web/a.js", 451, True),
    ("a tool", "tools/x/main.cpp", 451, True),
    ("not a source", "src/host/browser/web/style.css", 900, False),
]


def line_cases():
    failed = 0
    for what, path, count, too_long in LINE_CASES:
        faults = layout.line_faults({path: "x\n" * count})
        if bool(faults) != too_long:
            print(f"FAIL line rule, {what}: {path} with {count} lines: {faults or 'accepted'}")
            failed += 1
    # The last line counts without its newline too.
    if not layout.line_faults({"src/kit/A.cpp": "x\n" * 450 + "y"}):
        print("FAIL line rule: a last line without a newline is not counted")
        failed += 1
    return failed


def source_tree():
    files = layout.read_sources(ROOT)
    faults = layout.include_faults(files) + layout.import_faults(files) + layout.line_faults(files)
    for fault in faults:
        print("FAIL", fault)
    return len(faults)


def main():
    failed = include_cases() + import_cases() + line_cases() + source_tree()
    print("FAILED" if failed else "OK")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
