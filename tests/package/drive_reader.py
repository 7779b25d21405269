#!/usr/bin/python3
"""Starts the packaged reader twice through its launcher and uses it as a person would.

    drive_reader.py ROOT HOME TRACES

ROOT is an unpacked copy of the package, HOME a fresh, empty home folder, TRACES a folder for
strace's logs. Runs on a desktop of its own (Xvfb and a session bus, which the caller starts) with
the AT-SPI bus, which it starts itself. The first start must ask the first-run question, which is
answered yes, show the caption with the packaged poem count, and find 静夜思 by its first line;
the second start must not ask again. Every write of the launcher and the reader is traced, and
any outside HOME is a failure. Prints what it checked; the exit status is the number of failures.
"""
import os
import re
import signal
import subprocess
import sys
import time

import pyatspi

FIRST_RUN_QUESTION = "初次运行Tavrin诗词大全,是否生成桌面快捷方式?"
SEARCHED_LINE = "床前明月光"
SEARCHED_TITLE = "静夜思"

failures = []


def check(ok, what):
    print(("ok      " if ok else "FAILED  ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


# ---- the desktop's accessibility tree ----------------------------------------------------------

def descendants(node):
    pending = [node]
    while pending:
        current = pending.pop()
        if current is None:
            continue
        yield current
        try:
            pending.extend(current)
        except Exception:  # a node that went away while it was read
            continue


def application_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def find(app, role, name=None, contains=None):
    for node in descendants(app):
        try:
            if node.getRole() != role:
                continue
            if name is not None and node.name != name:
                continue
            if contains is not None and contains not in node.name:
                continue
            return node
        except Exception:
            continue
    return None


def alerts(app):
    """The texts of the message boxes the program shows."""
    found = []
    for node in descendants(app):
        try:
            if node.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
                found.append(" ".join(n.name for n in descendants(node) if n.name))
        except Exception:
            continue
    return found


def windows(app):
    """The captions of the program's top-level windows, whatever role Qt gives them."""
    names = []
    try:
        for window in app:
            if window is not None:
                names.append(window.name)
    except Exception:
        pass
    return names


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    for wanted in ("press", "click", "toggle"):
        if wanted in names:
            return action.doAction(names.index(wanted))
    return action.doAction(0)


def wait_for(what, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = what()
        if found:
            return found
        time.sleep(0.2)
    return None


# ---- the reader, started through the launcher under strace -------------------------------------

def reader_pid(tracer, reader):
    """The reader's process: the launcher, once it has executed the reader, under strace."""
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                parent = int(stat.read().rsplit(")", 1)[1].split()[1])
            if parent == tracer.pid and os.readlink(f"/proc/{entry}/exe") == reader:
                return int(entry)
        except OSError:
            continue
    return None


TRACED = ",".join([
    "open", "openat", "openat2", "creat", "mkdir", "mkdirat", "rmdir", "unlink", "unlinkat", "rename",
    "renameat", "renameat2", "link", "linkat", "symlink", "symlinkat", "chmod", "fchmodat", "chown", "lchown",
    "fchownat", "truncate", "utimensat", "utimes", "utime", "mknod", "mknodat", "setxattr", "lsetxattr",
    "removexattr", "lremovexattr", "write", "pwrite64", "writev", "pwritev", "pwritev2", "ftruncate",
    "fallocate", "fchmod", "fchown", "fsetxattr", "chdir", "fchdir", "clone", "clone3", "fork", "vfork",
])


def start(launcher, env, home, trace):
    return subprocess.Popen(
        ["strace", "-f", "-ff", "-qq", "-y", "-s", "64", "-e", "trace=" + TRACED, "-e", "status=successful",
         "-o", trace, launcher],
        env=env, cwd=home, stdin=subprocess.DEVNULL)


def stop(tracer, pid):
    if pid is not None:
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
    try:
        tracer.wait(30)
    except subprocess.TimeoutExpired:
        tracer.kill()
        tracer.wait()


# ---- what the traces say was written ------------------------------------------------------------

WRITE_FLAGS = re.compile(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND")
# Devices and in-memory files a display program writes without touching any folder.
HARMLESS = re.compile(r"^(/dev/(null|tty.*|pts/.*|dri/.*|urandom)|/memfd:.*)$")
CALL = re.compile(r"^(\w+)\((.*)\)\s+=\s+(-?\d+|0x[0-9a-f]+)(?:<(.*)>)?")


def unescape(text):
    return text.encode("latin-1", "backslashreplace").decode("unicode_escape").encode("latin-1").decode(
        "utf-8", "replace")


def split_arguments(text):
    """The top-level arguments of one call, quoted strings and braces kept whole."""
    parts, depth, quoted, current, escaped = [], 0, False, "", False
    for c in text:
        if quoted:
            current += c
            if escaped:
                escaped = False
            elif c == "\\":
                escaped = True
            elif c == '"':
                quoted = False
            continue
        if c == '"':
            quoted = True
        elif c in "[{(":
            depth += 1
        elif c in "]})":
            depth -= 1
        elif c == "," and depth == 0:
            parts.append(current.strip())
            current = ""
            continue
        current += c
    if current.strip():
        parts.append(current.strip())
    return parts


def string_of(argument):
    if argument.startswith('"'):
        return unescape(argument.split('"', 2)[1] if argument.count('"') >= 2 else argument[1:])
    return None


def decorated(argument):
    """The path strace -y shows after a descriptor: 3</home/x/file> -> /home/x/file."""
    match = re.search(r"<(.*)>$", argument)
    return unescape(match.group(1)) if match else None


def resolve(path, base):
    return os.path.normpath(path if path.startswith("/") else os.path.join(base, path))


# For each call that changes a folder's entries or a file's attributes: which arguments name what
# it changes, as (descriptor argument or None, path argument).
PATH_CALLS = {
    "mkdir": [(None, 0)], "rmdir": [(None, 0)], "unlink": [(None, 0)], "chmod": [(None, 0)],
    "chown": [(None, 0)], "lchown": [(None, 0)], "truncate": [(None, 0)], "utimes": [(None, 0)],
    "utime": [(None, 0)], "mknod": [(None, 0)], "setxattr": [(None, 0)], "lsetxattr": [(None, 0)],
    "removexattr": [(None, 0)], "lremovexattr": [(None, 0)], "creat": [(None, 0)],
    "rename": [(None, 0), (None, 1)], "link": [(None, 1)], "symlink": [(None, 1)],
    "mkdirat": [(0, 1)], "unlinkat": [(0, 1)], "fchmodat": [(0, 1)], "fchownat": [(0, 1)],
    "mknodat": [(0, 1)], "utimensat": [(0, 1)], "renameat": [(0, 1), (2, 3)], "renameat2": [(0, 1), (2, 3)],
    "linkat": [(2, 3)], "symlinkat": [(1, 2)],
}
FD_CALLS = {"write", "pwrite64", "writev", "pwritev", "pwritev2", "ftruncate", "fallocate", "fchmod", "fchown",
            "fsetxattr"}
CHILD_CALLS = {"clone", "clone3", "fork", "vfork"}


def writes_outside(traces, prefix, home, first_cwd):
    """Every place outside `home` that the traced processes wrote, as 'path (call)'."""
    files = {int(name.rsplit(".", 1)[1]): os.path.join(traces, name)
             for name in os.listdir(traces) if name.startswith(prefix + ".")}
    children, lines = {}, {}
    for pid, file in files.items():
        with open(file, encoding="latin-1") as log:
            lines[pid] = log.read().splitlines()
        for line in lines[pid]:
            call = CALL.match(line)
            if call and call.group(1) in CHILD_CALLS:
                children.setdefault(int(call.group(3)), pid)
    roots = [pid for pid in files if pid not in children]
    cwd_at_birth = {pid: first_cwd for pid in roots}
    outside = set()

    def note(path, call):
        if path is None or HARMLESS.match(path) or not path.startswith("/"):
            return
        if path != home and not path.startswith(home + "/"):
            outside.add(f"{path} ({call})")

    order = list(roots)
    while order:
        pid = order.pop(0)
        cwd = cwd_at_birth.get(pid, first_cwd)
        for line in lines.get(pid, []):
            call = CALL.match(line)
            if not call:
                continue
            name, arguments, result, result_path = call.groups()
            arguments = split_arguments(arguments)
            if name in CHILD_CALLS:
                cwd_at_birth[int(result)] = cwd
                order.append(int(result))
            elif name == "chdir":
                cwd = resolve(string_of(arguments[0]) or "", cwd)
            elif name == "fchdir":
                cwd = decorated(arguments[0]) or cwd
            elif name in ("open", "openat", "openat2"):
                flags = " ".join(arguments[1:])
                if WRITE_FLAGS.search(flags):
                    note(unescape(result_path) if result_path else None, name)
            elif name in FD_CALLS:
                note(decorated(arguments[0]), name)
            elif name in PATH_CALLS:
                for descriptor, position in PATH_CALLS[name]:
                    if position >= len(arguments):
                        continue
                    path = string_of(arguments[position])
                    if path is None:
                        if descriptor is not None:
                            note(decorated(arguments[descriptor]), name)
                        continue
                    base = cwd
                    if descriptor is not None and not path.startswith("/"):
                        base = decorated(arguments[descriptor]) or cwd
                    note(resolve(path, base), name)
    return sorted(outside)


# ---- the two starts -----------------------------------------------------------------------------

def main():
    root, home, traces = (os.path.abspath(arg) for arg in sys.argv[1:4])
    launcher = os.path.join(root, "usr/bin/tavrin-sici")
    reader = os.path.join(root, "usr/lib/tavrin-sici/sici")
    with open(os.path.join(root, "usr/share/tavrin-sici/collection/sici.poems")) as note:
        caption = f"Tavrin诗词大全  ({int(note.read())}首诗词)"

    runtime = os.path.join(home, "xdg-runtime")
    os.makedirs(runtime, mode=0o700)
    os.makedirs(os.path.join(home, "Desktop"))
    env = {
        "PATH": "/usr/bin:/bin", "HOME": home, "LANG": "C.UTF-8",
        "XDG_DATA_HOME": os.path.join(home, "xdg-data"), "XDG_CONFIG_HOME": os.path.join(home, "xdg-config"),
        "XDG_CACHE_HOME": os.path.join(home, "xdg-cache"), "XDG_STATE_HOME": os.path.join(home, "xdg-state"),
        "XDG_RUNTIME_DIR": runtime,
        "DISPLAY": os.environ["DISPLAY"], "DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"],
        "QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
    }
    if "XAUTHORITY" in os.environ:
        env["XAUTHORITY"] = os.environ["XAUTHORITY"]
    work = os.path.join(env["XDG_DATA_HOME"], "tavrin-sici", "collection")

    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"],
                           stdin=subprocess.DEVNULL)
    try:
        first_start(launcher, reader, env, home, traces, caption, work)
        second_start(launcher, reader, env, home, traces, caption)
    finally:
        bus.terminate()
        bus.wait(10)

    for run in ("first", "second"):
        outside = writes_outside(traces, run, home, home)
        check(not outside, f"{run} start: nothing written outside {home}" +
              "".join(f"\n          wrote {path}" for path in outside))
    print(f"{len(failures)} failure(s)")
    return min(len(failures), 100)


def first_start(launcher, reader, env, home, traces, caption, work):
    tracer = start(launcher, env, home, os.path.join(traces, "first"))
    pid = wait_for(lambda: reader_pid(tracer, reader), 30)
    try:
        if not check(pid is not None, "first start: the launcher starts the reader"):
            return
        app = wait_for(lambda: application_of(pid), 60)
        if not check(app is not None, "first start: the reader appears on the accessibility bus"):
            return
        question = wait_for(lambda: find(app, pyatspi.ROLE_LABEL, contains="初次运行"), 60)
        if not check(question is not None and question.name == FIRST_RUN_QUESTION,
                     "first start: the first-run question is asked"):
            return
        yes = wait_for(lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, contains="是"), 10)
        if not check(yes is not None, "first start: the question has a yes button"):
            return
        press(yes)
        window = wait_for(lambda: caption in windows(app), 60)
        if not check(window, f"first start: the window's caption is {caption!r}"):
            print(f"          the program shows the windows {windows(app)!r} and the messages {alerts(app)!r}")
            return
        search(app)
    finally:
        stop(tracer, pid)

    marker = os.path.join(work, "ado.dll")
    check(os.path.isfile(marker) and open(marker, "rb").read() == b"ok",
          f"first start: the first-run marker {marker} holds \"ok\"")
    links = [name for name in os.listdir(os.path.join(home, "Desktop")) if name.endswith(".desktop")]
    check(len(links) == 1, f"first start: one desktop link in {home}/Desktop (found {links})")
    if links:
        with open(os.path.join(home, "Desktop", links[0]), encoding="utf-8") as link:
            execs = [line[len("Exec="):] for line in link.read().splitlines() if line.startswith("Exec=")]
        check(execs == [launcher], f"first start: the desktop link starts the launcher {launcher} (Exec={execs})")


def search(app):
    edit = find(app, pyatspi.ROLE_TEXT, name="请输入")
    by_text = find(app, pyatspi.ROLE_RADIO_BUTTON, name="内容")
    button = find(app, pyatspi.ROLE_PUSH_BUTTON, name="查找")
    if not check(None not in (edit, by_text, button), "search: the search box, its 内容 choice and 查找 are there"):
        return
    edit.queryEditableText().setTextContents(SEARCHED_LINE)
    press(by_text)
    press(button)

    def found_title():
        table = find(app, pyatspi.ROLE_TABLE, name="检索结果")
        if table is None:
            return None
        grid = table.queryTable()
        names = [grid.getAccessibleAt(row, column).name
                 for row in range(grid.nRows) for column in range(grid.nColumns)]
        return names if SEARCHED_TITLE in names else None

    found = wait_for(found_title, 30)
    if not check(found is not None, f"search: the text {SEARCHED_LINE} finds {SEARCHED_TITLE}"):
        print("          the program shows: " + repr(alerts(app)))


def second_start(launcher, reader, env, home, traces, caption):
    tracer = start(launcher, env, home, os.path.join(traces, "second"))
    pid = wait_for(lambda: reader_pid(tracer, reader), 30)
    try:
        if not check(pid is not None, "second start: the launcher starts the reader"):
            return
        app = wait_for(lambda: application_of(pid), 60)
        if not check(app is not None, "second start: the reader appears on the accessibility bus"):
            return
        def question():
            return find(app, pyatspi.ROLE_LABEL, contains="初次运行") is not None

        # The question comes before the window, so the window's coming first means none was asked;
        # a moment more catches a question that came late.
        asked = wait_for(lambda: "asked" if question() else caption in windows(app), 60) == "asked"
        time.sleep(1.5)
        check(not asked and not question(), "second start: the first-run question is not asked again")
        if not check(caption in windows(app), f"second start: the window's caption is {caption!r}"):
            print(f"          the program shows the windows {windows(app)!r}")
    finally:
        stop(tracer, pid)


if __name__ == "__main__":
    sys.exit(main())
