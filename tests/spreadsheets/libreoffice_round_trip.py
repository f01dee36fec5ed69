#!/usr/bin/python3
"""LibreOffice Calc, headless, as the other end of a modder's road from a dump to a
spreadsheet and back:

- a dump opened as UTF-8 and saved as XLSX, then as CSV with Calc's defaults, or saved
  as CSV straight away, applies as no change (accented names included);
- a dump opened with Calc's default character set and saved as UTF-8 is refused, and
  the roster is not written;
- a macro raises one column by formulas, and apply writes exactly what
  `bulk --set KEY+=1` writes;
- the slot hash comes back from Calc as it went in, even where its digits look like a
  number.

It leaves in OUT the roster and every file Calc saved, each with what quillbay-cli made
of it (NAME.expected.pak, or NAME.refusal holding a piece of the refusal), for the
window's suite to apply the same files (QB_SPREADSHEET_FILES).

Usage: libreoffice_round_trip.py QUILLBAY_CLI QUILLBAY_DEMO_DATA OUT
Run with the system's Python, which has LibreOffice's uno module (python3-uno)."""

import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time

# Generous: Calc starts slowly on a loaded machine; a hang still ends.
CHILD_SECONDS = int(os.environ.get("QB_TEST_CHILD_SECONDS", "600"))
ACCURACY = "ratings.bowling.Accuracy"
CSV_FILTER = "Text - txt - csv (StarCalc)"
UTF8_CSV = "44,34,76,1"  # comma, double quote, UTF-8, from the first line

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, file=sys.stderr)


def run(args, expect=0):
    done = subprocess.run(args, capture_output=True, timeout=CHILD_SECONDS)
    if done.returncode != expect:
        sys.exit(f"{' '.join(args)} exited {done.returncode}, not {expect}:\n"
                 f"{done.stderr.decode(errors='replace')}")
    return done


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Calc:
    """soffice --headless with a profile of its own."""

    def __init__(self, work):
        self.profile = "file://" + os.path.join(work, "profile")

    def convert(self, source, target, outdir, infilter=None):
        args = ["soffice", "--headless", "--norestore", "-env:UserInstallation=" + self.profile]
        if infilter:
            args.append("--infilter=" + infilter)
        run(args + ["--convert-to", target, "--outdir", outdir, source])
        name = os.path.splitext(os.path.basename(source))[0]
        made = os.path.join(outdir, name + "." + target.split(":")[0])
        if not os.path.exists(made):
            sys.exit(f"soffice made no {made}")
        return made

    def raise_column(self, source, key, target):
        """A macro over the UNO bridge: every cell of the column `key` becomes a formula
        raising its number by one, at most 63; the sheet is saved as UTF-8 CSV."""
        import uno
        from com.sun.star.beans import PropertyValue
        from com.sun.star.connection import NoConnectException

        def properties(**values):
            return tuple(PropertyValue(Name=k, Value=v) for k, v in values.items())

        pipe = f"quillbay{os.getpid()}"
        office = subprocess.Popen(
            ["soffice", "--headless", "--norestore", "--invisible",
             "-env:UserInstallation=" + self.profile,
             f"--accept=pipe,name={pipe};urp;StarOffice.ComponentContext"])
        try:
            local = uno.getComponentContext()
            resolver = local.ServiceManager.createInstanceWithContext(
                "com.sun.star.bridge.UnoUrlResolver", local)
            deadline = time.monotonic() + CHILD_SECONDS
            while True:
                try:
                    context = resolver.resolve(
                        f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
                    break
                except NoConnectException:
                    if time.monotonic() > deadline or office.poll() is not None:
                        sys.exit("LibreOffice did not answer on its pipe")
                    time.sleep(0.2)
            desktop = context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context)
            document = desktop.loadComponentFromURL(
                uno.systemPathToFileUrl(source), "_blank", 0,
                properties(FilterName=CSV_FILTER, FilterOptions=UTF8_CSV, Hidden=True))
            sheet = document.Sheets.getByIndex(0)
            cursor = sheet.createCursor()
            cursor.gotoEndOfUsedArea(False)
            address = cursor.getRangeAddress()
            header = [sheet.getCellByPosition(c, 0).getString()
                      for c in range(address.EndColumn + 1)]
            column = header.index(key)
            for row in range(1, address.EndRow + 1):
                cell = sheet.getCellByPosition(column, row)
                cell.setFormula(f"=MIN(63;{int(cell.getValue())}+1)")
            document.storeToURL(uno.systemPathToFileUrl(target),
                                properties(FilterName=CSV_FILTER, FilterOptions=UTF8_CSV))
            document.close(True)
            desktop.terminate()
        finally:
            try:
                office.wait(timeout=CHILD_SECONDS)
            except subprocess.TimeoutExpired:
                office.kill()


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    cli, demo_data, out = sys.argv[1:]
    if shutil.which("soffice") is None:
        sys.exit("soffice not found: scripts/install-deps installs libreoffice-calc-nogui")
    work = tempfile.mkdtemp(prefix="quillbay-calc-")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    calc = Calc(work)

    run([demo_data, os.path.join(work, "demo")])
    roster = os.path.join(out, "roster.pak")
    shutil.copy(os.path.join(work, "demo", "demo.pak"), roster)
    # Names with letters and marks of Windows-1252 beyond ASCII.
    run([cli, "set", roster, "0", "name=A Müller", "--no-backup"])
    run([cli, "set", roster, "1", "name=D’Souza", "--no-backup"])
    run([cli, "set", roster, "2", "name=Ørsted Æbelø", "--no-backup"])
    dump = os.path.join(work, "dump.csv")
    with open(dump, "wb") as f:
        f.write(run([cli, "dump", roster, "--format", "csv"]).stdout)

    saved = {}  # the files Calc saved, by the name the window's suite sees
    xlsx = calc.convert(dump, "xlsx", os.path.join(work, "xlsx"), "CSV:" + UTF8_CSV)
    saved["via-xlsx.csv"] = calc.convert(xlsx, "csv", os.path.join(work, "via-xlsx"))
    saved["utf8-import.csv"] = calc.convert(dump, "csv", os.path.join(work, "utf8"),
                                            "CSV:" + UTF8_CSV)
    saved["wrong-encoding.csv"] = calc.convert(
        dump, f"csv:{CSV_FILTER}:{UTF8_CSV}", os.path.join(work, "wrong"))
    saved["raised.csv"] = os.path.join(work, "raised.csv")
    calc.raise_column(dump, ACCURACY, saved["raised.csv"])

    # What bulk writes for the same raise is what apply must write for Calc's file.
    raised = os.path.join(work, "raised.pak")
    shutil.copy(roster, raised)
    run([cli, "bulk", raised, "--set", ACCURACY + "+=1", "--no-backup"])
    expected = {"via-xlsx.csv": read(roster), "utf8-import.csv": read(roster),
                "raised.csv": read(raised)}

    for name, source in saved.items():
        target = os.path.join(out, name)
        shutil.copy(source, target)
        copy = os.path.join(work, name + ".pak")
        shutil.copy(roster, copy)
        if name in expected:
            run([cli, "apply", copy, target, "--no-backup"])
            check(read(copy) == expected[name], f"{name}: apply did not write what was edited")
            shutil.copy(copy, target + ".expected.pak")
        else:
            refused = run([cli, "apply", copy, target, "--no-backup"], expect=1)
            reason = "in the wrong encoding"
            check(reason.encode() in refused.stderr,
                  f"{name}: refused for another reason: {refused.stderr!r}")
            check(read(copy) == read(roster), f"{name}: written though refused")
            with open(target + ".refusal", "w") as f:
                f.write(reason)
    check(read(saved["raised.csv"]) != read(saved["utf8-import.csv"]), "the macro changed nothing")

    # Hash cells whose digits a spreadsheet would take for a number, as dumps write them.
    hashes = os.path.join(work, "hashes.csv")
    cells = ["qb0051656660264484", "qb82002224e1834540", "qb1234567890123456"]
    with open(hashes, "w", newline="") as f:
        f.write("slot,slotHash\r\n" + "".join(f"{i},{h}\r\n" for i, h in enumerate(cells)))
    for options in (UTF8_CSV, UTF8_CSV + ",,0,false,true"):  # also detecting special numbers
        back = calc.convert(hashes, "csv", os.path.join(work, "hashes-back"), "CSV:" + options)
        with open(back, newline="") as f:
            rows = list(csv.reader(f))
        check([row[1] for row in rows[1:]] == cells,
              f"hash cells changed by Calc ({options}): {rows!r}")

    shutil.rmtree(work, ignore_errors=True)
    if failures:
        sys.exit(f"{len(failures)} checks failed")
    print(f"LibreOffice round trips: {len(saved)} files, all as expected")


if __name__ == "__main__":
    main()
