#!/usr/bin/env python3
"""The library graph, written out once, and the check that the #include lines keep to it.

Every source file of a library folder belongs to exactly one library below. A file may include
headers of its own library and of the libraries its library lists as uses; anything else is
reported with its file and line. The check also fails when:
  - a file of a library folder belongs to no library (add it to the table),
  - the graph has a cycle,
  - a portable library uses a Windows one,
  - a portable file (not named *_win32.*) includes a Windows header.
Programs, tests, benchmarks and fuzz targets sit on top: they may include any library, and no
library may include them.

  scripts/check_layers.py [SOURCE_DIR]        # exit status 0: the includes keep to the graph
  scripts/check_layers.py --dot [SOURCE_DIR]  # the graph in Graphviz form
  scripts/check_layers.py --self-test         # the check finds what it should, in a scratch tree
"""

import fnmatch
import os
import re
import sys
import tempfile

# name: (files, libraries it uses, Windows library). Files are patterns relative to the
# source folder; a file takes the first library whose pattern matches it, so a folder's Windows
# library comes before the folder-wide pattern of its portable one.
LIBRARIES = {
    # base/: shared helpers and the OS seam (os_posix.cpp or os_win32.cpp per build).
    "qm_base_win32": (["base/dib_win32.*"], ["qm_base"], True),
    "qm_base": (["base/*"], [], False),
    # archive/
    "qm_payload": (["archive/file_time_record.*", "archive/payload.h", "archive/payload_reader.cpp",
                    "archive/payload_writer.cpp", "archive/stub_file.*"], ["qm_base"], False),
    "qm_archive": (["archive/*"], ["qm_payload", "qm_base"], False),
    # heroes/
    "qm_heroes": (["heroes/face_loss.*", "heroes/face_size.h", "heroes/hero_record.h",
                   "heroes/hero_table.*", "heroes/value_tables.*"], ["qm_base"], False),
    "qm_game_paths": (["heroes/game_paths.*", "heroes/game_files*"], ["qm_base"], False),
    "qm_code_page": (["heroes/code_page*"], ["qm_base"], False),
    "qm_catalogue": (["heroes/hero_catalogue.*", "heroes/catalogue_faces.*"],
                     ["qm_heroes", "qm_archive", "qm_portrait", "qm_game_paths", "qm_base"], False),
    "qm_catalogue_diff": (["heroes/catalogue_diff.*"],
                          ["qm_heroes", "qm_code_page", "qm_base"], False),
    "qm_hero_sheet": (["heroes/csv_text.*", "heroes/hero_sheet*"],
                      ["qm_catalogue", "qm_code_page", "qm_heroes", "qm_base"], False),
    "qm_face_folder": (["heroes/face_folder.*"],
                       ["qm_catalogue", "qm_code_page", "qm_picture_file", "qm_portrait", "qm_heroes",
                        "qm_base"], False),
    "qm_catalogue_pages": (["heroes/catalogue_page.*", "heroes/diff_report.*", "heroes/page_parts.*"],
                           ["qm_hero_sheet", "qm_face_folder", "qm_catalogue_diff", "qm_catalogue",
                            "qm_picture_file", "qm_code_page", "qm_heroes", "qm_base"], False),
    # portrait/
    "qm_picture_file": (["portrait/jpeg_check.*", "portrait/picture_file.*", "portrait/picture_source.*",
                         "portrait/picture_decoders.h", "portrait/picture_checks.cpp", "portrait/*_decode.cpp"],
                        ["qm_portrait", "qm_heroes", "qm_base"], False),
    "qm_picture_gdi": (["portrait/bitmap_pixels_win32.*", "portrait/bitmap_copy_win32.cpp"],
                       ["qm_portrait", "qm_base_win32", "qm_base"], True),
    "qm_portrait_win32": (["portrait/*_win32.*"],
                          ["qm_portrait", "qm_picture_file", "qm_picture_gdi", "qm_heroes",
                           "qm_base_win32", "qm_base"], True),
    "qm_portrait": (["portrait/*"], ["qm_heroes", "qm_base"], False),
    # shell/: the language module, the game folder and version code the stubs share, the
    # editor's portable parts, and the editor itself.
    "qm_language": (["shell/language.*", "shell/language_template.*", "shell/program_strings.*",
                     "shell/string_resource_*", "shell/locale_*"],
                    ["qm_program_resources", "qm_base"], False),
    "qm_shell_ui": (["shell/status_text.*", "shell/lead_byte_*", "shell/display_name.*",
                     "shell/window_placement.h"],
                    ["qm_base"], False),
    "qm_game_version": (["shell/pe_version.*", "shell/game_version*"],
                        ["qm_pe_resources", "qm_game_search", "qm_game_paths", "qm_base"], False),
    "qm_pe_resources": (["shell/pe_resources.*", "shell/pe_resource_by_name.*", "shell/embedded_programs.h"],
                        ["qm_base"], False),
    "qm_game_search": (["shell/game_search.*"], ["qm_base"], False),
    "qm_game_search_win32": (["shell/game_search_win32.*"],
                             ["qm_game_search", "qm_game_version", "qm_base_win32", "qm_base"], True),
    "qm_win32_ui": (["shell/window_class_win32.*", "shell/folder_browser_win32.*"],
                    ["qm_base_win32", "qm_base"], True),
    "qm_stub_runtime": (["shell/stub_runtime.cpp"], [], False),
    "qm_backup": (["shell/backup.*"], ["qm_payload", "qm_base"], False),
    "qm_make_sfx": (["shell/make_sfx.*"],
                    ["qm_catalogue", "qm_heroes", "qm_payload", "qm_base"], False),
    "qm_shell_editor": (["shell/command_rules.*", "shell/editor_state.*"],
                        ["qm_catalogue", "qm_game_paths", "qm_game_search", "qm_shell_ui",
                         "qm_skin_core", "qm_language", "qm_base"], False),
    "qm_editor": (["shell/*_win32.*"],
                  ["qm_shell_editor", "qm_game_search_win32", "qm_game_version", "qm_pe_resources", "qm_backup",
                   "qm_make_sfx", "qm_catalogue", "qm_heroes", "qm_game_paths", "qm_archive", "qm_portrait_win32",
                   "qm_picture_gdi", "qm_portrait", "qm_skin_win32", "qm_skin_core", "qm_web_win32", "qm_win32_ui",
                   "qm_shell_ui", "qm_language", "qm_program_resources", "qm_base_win32",
                   "qm_base"], True),
    # skin/
    "qm_skin_win32": (["skin/*_win32.*"],
                      ["qm_skin_core", "qm_picture_gdi", "qm_portrait", "qm_heroes", "qm_shell_ui", "qm_language",
                       "qm_base_win32", "qm_base"], True),
    "qm_skin_core": (["skin/*"],
                     ["qm_portrait", "qm_heroes", "qm_shell_ui", "qm_language", "qm_base"], False),
    # web/
    "qm_web": (["web/browser_command.*", "web/update_reply.*", "web/web_addresses.h"],
               ["qm_language", "qm_base"], False),
    "qm_web_win32": (["web/*_win32.*"], ["qm_web", "qm_base_win32", "qm_base"], True),
    # patcher/ and restore/: the stubs' portable parts; their programs are below.
    "qm_patch_apply": (["patcher/patch_apply.*"],
                       ["qm_archive", "qm_payload", "qm_game_paths", "qm_base"], False),
    "qm_patcher_ui": (["patcher/patcher_ui.*"], ["qm_skin_core", "qm_portrait", "qm_base"], False),
    "qm_restore_core": (["restore/restore_walk.*"],
                        ["qm_payload", "qm_game_paths", "qm_base"], False),
    # resources/: ids and string lists the programs' resource scripts share with the code; a
    # leaf that every library may include (SHARED_BY_ALL).
    "qm_program_resources": (["resources/*"], [], False),
    # tools/: generators the tests, qlmk and the benchmarks use.
    "qm_pe_image": (["tools/pe_image/*"], ["qm_base"], False),
    "qm_demo_exe": (["tools/demo_heroes4/demo_executable.*"], ["qm_pe_image", "qm_base"], False),
    "qm_demo_game": (["tools/demo_game/*"],
                     ["qm_catalogue", "qm_code_page", "qm_portrait", "qm_archive", "qm_heroes", "qm_game_paths",
                      "qm_game_version", "qm_demo_exe", "qm_base"], False),
    "qm_skinart_art": (["tools/skinart/*"], ["qm_skin_core", "qm_portrait", "qm_heroes", "qm_base"], False),
    "qm_language_source": (["tools/language_files/language_source.*"],
                           ["qm_code_page", "qm_language", "qm_base"], False),
    "qm_language_fit": (["tools/language_fit/language_fit_win32.*"],
                        ["qm_skin_win32", "qm_skin_core", "qm_patcher_ui", "qm_web", "qm_language",
                         "qm_shell_ui", "qm_base_win32", "qm_base"], True),
    # qlmk/: the command table, which the test suite tests without the tool.
    "qm_command_table": (["qlmk/command_table.*", "qlmk/command_help.cpp"], [], False),
}

# Program folders that also hold libraries (see PROGRAMS).
FOLDERS_WITH_LIBRARIES = ("tools/", "qlmk/")

# Libraries every library may include without listing them.
SHARED_BY_ALL = ["qm_program_resources"]

# Folders whose files are programs (entry points and their own parts), tests and tools: they
# use libraries, and no library uses them. Patterns relative to the source folder. In tools/
# and qlmk/, the files a library above claims belong to that library instead.
PROGRAMS = [
    "shell/main_win32.cpp",
    "patcher/*_win32.*",
    "restore/*_win32.*",
    "qlmk/*",
    "tests/*",
    "bench/*",
    "fuzz/*",
    "tools/*",
]

SOURCE_SUFFIXES = (".h", ".cpp", ".inc")
SCANNED_FOLDERS = ["base", "archive", "heroes", "portrait", "shell", "skin", "web", "patcher",
                   "restore", "resources", "qlmk", "tools", "tests", "bench", "fuzz"]
WINDOWS_HEADERS = {"windows.h", "commctrl.h", "commdlg.h", "shellapi.h", "shlobj.h", "objbase.h",
                   "ole2.h", "olectl.h", "wininet.h", "winver.h", "mmsystem.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def owner_of(path):
    """The library a file belongs to, or None for a program's file."""
    if is_program_file(path) and not path.startswith(FOLDERS_WITH_LIBRARIES):
        return None
    for name, (patterns, _, _) in LIBRARIES.items():
        if any(fnmatch.fnmatch(path, pattern) for pattern in patterns):
            return name
    return None


def is_program_file(path):
    return any(fnmatch.fnmatch(path, p) for p in PROGRAMS)


def source_files(root):
    for folder in SCANNED_FOLDERS:
        for base, dirs, files in os.walk(os.path.join(root, folder)):
            dirs[:] = [d for d in dirs if d not in ("corpus", "seeds", "scenarios")]
            for f in sorted(files):
                if f.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(base, f), root).replace(os.sep, "/")


def find_cycle(libraries=None):
    libraries = LIBRARIES if libraries is None else libraries
    state = {}

    def visit(name, stack):
        state[name] = "open"
        for dep in libraries[name][1]:
            if state.get(dep) == "open":
                return stack[stack.index(dep):] + [dep] if dep in stack else [name, dep]
            if dep not in state:
                found = visit(dep, stack + [dep])
                if found:
                    return found
        state[name] = "done"
        return None

    for name in libraries:
        if name not in state:
            found = visit(name, [name])
            if found:
                return found
    return None


def check(root):
    errors = []
    for name, (_, uses, win32) in LIBRARIES.items():
        for dep in uses:
            if dep not in LIBRARIES:
                errors.append(f"graph: {name} uses unknown library {dep}")
            elif not win32 and LIBRARIES[dep][2]:
                errors.append(f"graph: portable library {name} uses Windows library {dep}")
    cycle = find_cycle()
    if cycle:
        errors.append("graph: cycle " + " -> ".join(cycle))

    owners = {}
    files = list(source_files(root))
    for path in files:
        owners[path] = owner_of(path)
        if owners[path] is None and not is_program_file(path):
            errors.append(f"{path}: belongs to no library (add it to scripts/check_layers.py)")

    for path in files:
        owner = owners[path]
        portable = "_win32." not in os.path.basename(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, target = m.groups()
                if kind == "<":
                    if portable and target.lower() in WINDOWS_HEADERS and owner is not None:
                        errors.append(f"{path}:{number}: portable file includes <{target}>")
                    continue
                if "/" not in target:
                    continue  # a file beside it (resource scripts, generated headers)
                if target not in owners:
                    continue  # generated in the build folder, or a third-party header
                used = owners[target]
                if used is None:
                    if owner is not None:
                        errors.append(f"{path}:{number}: library {owner} includes a program's "
                                      f"file {target}")
                    continue
                if owner is None or used == owner or used in LIBRARIES[owner][1] \
                        or used in SHARED_BY_ALL:
                    continue
                errors.append(f"{path}:{number}: {owner} may not include {target} ({used})")
    return errors


def dot():
    lines = ["digraph libraries {", "  rankdir=BT;"]
    for name, (_, uses, win32) in LIBRARIES.items():
        lines.append(f'  {name}{" [shape=box]" if win32 else ""};')
        lines.extend(f"  {name} -> {dep};" for dep in uses)
    lines.append("}")
    return "\n".join(lines)


def self_test():
    """Runs the check over a scratch tree holding one fault of each kind."""
    files = {
        "shell/language.h": "",
        "heroes/value_tables.cpp": '#include "shell/language.h"\n',      # heroes may not
        "heroes/code_page.cpp": "#include <windows.h>\n",                 # portable file
        "heroes/stray.cpp": "",                                           # no library
        "skin/controls_win32.cpp": '#include "shell/language.h"\n#include <windows.h>\n',
        "qlmk/main.cpp": '#include "heroes/stray.cpp"\n',
        "qlmk/command_table.cpp": '#include "qlmk/main.cpp"\n',         # a program's file
        "archive/h4r_reader.cpp": '#include "qlmk/main.cpp"\n',         # a program's file
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        found = sorted(check(root))
    expected = sorted([
        "archive/h4r_reader.cpp:1: library qm_archive includes a program's file qlmk/main.cpp",
        "qlmk/command_table.cpp:1: library qm_command_table includes a program's file "
        "qlmk/main.cpp",
        "heroes/code_page.cpp:1: portable file includes <windows.h>",
        "heroes/stray.cpp: belongs to no library (add it to scripts/check_layers.py)",
        "heroes/value_tables.cpp:1: qm_heroes may not include shell/language.h (qm_language)",
    ])
    cycle = find_cycle({"a": ([], ["b"], False), "b": ([], ["c"], False), "c": ([], ["a"], False)})
    ok = found == expected and cycle is not None and find_cycle() is None
    if not ok:
        print("self-test failed:", found, cycle, file=sys.stderr)
        return 1
    print("self-test passed")
    return 0


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    if "--self-test" in argv:
        return self_test()
    if "--dot" in argv:
        print(dot())
        return 0
    errors = check(root)
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"{len(errors)} include(s) or edge(s) outside the library graph", file=sys.stderr)
        return 1
    print(f"{len(LIBRARIES)} libraries; every #include keeps to the graph")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
