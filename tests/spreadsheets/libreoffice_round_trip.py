#!/usr/bin/python3
"""LibreOffice Calc, headless, as the other end of a modder's road from a dump to a
spreadsheet and back:

- a dump opened as UTF-8 and saved as XLSX, then as CSV with Calc's defaults, or saved
  as CSV straight away, applies as no change (accented names included);
- a dump opened with Calc's default character set and saved as UTF-8 is refused, and
  the roster is not written;
- a macro raises one column by formulas, and apply writes exactly what
  `bulk --set KEY+=1` writes;
- a dump's workbook carries its drop-down lists, limits, locks and frozen header (read
  back with openpyxl); saved again by Calc it applies as no change; a macro's choice and
  rating apply as `set` writes them; a value typed past a limit is refused naming the
  cell;
- the slot hash comes back from Calc as it went in, even where its digits look like a
  number.

It leaves in OUT the roster and every file Calc saved (CSV and XLSX), each with what
quillbay-cli made of it (NAME.expected.pak, or NAME.refusal holding a piece of the refusal), for the
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

    def macro(self, source, load_options, change, stores):
        """Runs `change(sheet, column_of, row_of)` on the first sheet of `source` over the
        UNO bridge, as a macro would, then stores the document as each (target, filter,
        options) of `stores`."""
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
                properties(Hidden=True, **load_options))
            sheet = document.Sheets.getByIndex(0)
            cursor = sheet.createCursor()
            cursor.gotoEndOfUsedArea(False)
            address = cursor.getRangeAddress()
            key_row = next(r for r in range(address.EndRow + 1)
                           if sheet.getCellByPosition(0, r).getString() == "slot")
            header = [sheet.getCellByPosition(c, key_row).getString()
                      for c in range(address.EndColumn + 1)]
            slots = {int(sheet.getCellByPosition(0, r).getValue()): r
                     for r in range(key_row + 1, address.EndRow + 1)}
            change(sheet, header.index, slots.__getitem__, range(key_row + 1, address.EndRow + 1))
            for target, filter_name, options in stores:
                document.storeToURL(uno.systemPathToFileUrl(target),
                                    properties(FilterName=filter_name, FilterOptions=options))
            document.close(True)
            desktop.terminate()
        finally:
            try:
                office.wait(timeout=CHILD_SECONDS)
            except subprocess.TimeoutExpired:
                office.kill()


def raise_by_formula(key):
    """Every cell of the column `key` becomes a formula raising its number by one, at most
    63."""
    def change(sheet, column_of, row_of, rows):
        for row in rows:
            cell = sheet.getCellByPosition(column_of(key), row)
            cell.setFormula(f"=MIN(63;{int(cell.getValue())}+1)")
    return change


def set_cells(slot, values):
    """Types text or numbers into one player's cells, past any validation."""
    def change(sheet, column_of, row_of, rows):
        for key, value in values.items():
            cell = sheet.getCellByPosition(column_of(key), row_of(slot))
            if isinstance(value, str):
                cell.setString(value)
            else:
                cell.setValue(value)
    return change


def check_workbook_layout(path):
    """The validations, locks and frozen header a dump's workbook must carry, read back
    with openpyxl (another reader than ours)."""
    import openpyxl
    sheet = openpyxl.load_workbook(path)["Players"]
    keys = [cell.value for cell in sheet[2]]
    letter = {key: openpyxl.utils.get_column_letter(i + 1) for i, key in enumerate(keys)}
    check(sheet.freeze_panes == "D3", f"frozen at {sheet.freeze_panes}, not D3")
    check(sheet.protection.sheet and not sheet.protection.password, "not protected, or with a password")
    rules = {}
    for validation in sheet.data_validations.dataValidation:
        for cells in validation.sqref.ranges:
            rules[openpyxl.utils.get_column_letter(cells.min_col)] = validation
    style = rules.get(letter["roles.bowlingStyle"])
    check(style is not None and style.type == "list" and style.formula1.startswith("Lists!"),
          "the bowling style has no drop-down list")
    accuracy = rules.get(letter[ACCURACY])
    check(accuracy is not None and accuracy.type == "whole" and
          (accuracy.formula1, accuracy.formula2) == ("0", "63") and "0 to 63" in accuracy.prompt,
          "Accuracy is not limited to 0-63 with a message")
    flag = rules.get(letter["skills.One Day Expert"])
    check(flag is not None and flag.type == "list", "a flag has no TRUE/FALSE list")
    for key in ("id", "commentaryName", "statistics.Test.strikeRate", "slotHash"):
        check(letter[key] not in rules, f"{key} is validated though read-only")
        cell = sheet[f"{letter[key]}3"]
        check(cell.protection.locked and cell.fill.fgColor.rgb not in (None, "00000000"),
              f"{key} is not shaded and locked")
    check(not sheet[f"{letter[ACCURACY]}3"].protection.locked, "Accuracy is locked")
    check(isinstance(sheet[f"{letter[ACCURACY]}3"].value, (int, float)), "a rating is not a number")
    check(isinstance(sheet[f"{letter['skills.One Day Expert']}3"].value, bool),
          "a flag is not TRUE/FALSE")
    lists = [cell.value for row in openpyxl.load_workbook(path)["Lists"].iter_rows() for cell in row]
    check("Chinaman" in lists, "the Lists sheet has no bowling styles")


def column_letter(workbook, key):
    import openpyxl
    keys = [cell.value for cell in openpyxl.load_workbook(workbook)["Players"][2]]
    return openpyxl.utils.get_column_letter(keys.index(key) + 1)


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
    calc.macro(dump, {"FilterName": CSV_FILTER, "FilterOptions": UTF8_CSV},
               raise_by_formula(ACCURACY), [(saved["raised.csv"], CSV_FILTER, UTF8_CSV)])

    # The workbook: saved again by Calc it applies as no change; a macro picks a choice and
    # types a rating, and apply writes what set writes; a value typed past the validation
    # is refused naming its cell.
    workbook = os.path.join(work, "dump.xlsx")
    run([cli, "dump", roster, "--format", "xlsx", workbook])
    check_workbook_layout(workbook)
    calc_xlsx = "Calc MS Excel 2007 XML"
    saved["resaved.xlsx"] = os.path.join(work, "resaved.xlsx")
    saved["picked.xlsx"] = os.path.join(work, "picked.xlsx")
    saved["past-validation.xlsx"] = os.path.join(work, "past-validation.xlsx")
    picked = {"roles.bowlingStyle": "Chinaman", ACCURACY: 50}
    calc.macro(workbook, {}, set_cells(3, {}), [(saved["resaved.xlsx"], calc_xlsx, "")])
    calc.macro(workbook, {}, set_cells(3, picked), [(saved["picked.xlsx"], calc_xlsx, "")])
    calc.macro(workbook, {}, set_cells(3, {ACCURACY: 70}),
               [(saved["past-validation.xlsx"], calc_xlsx, "")])
    picked_pak = os.path.join(work, "picked.pak")
    shutil.copy(roster, picked_pak)
    run([cli, "set", picked_pak, "3", "--no-backup"] + [f"{k}={v}" for k, v in picked.items()])

    # What bulk writes for the same raise is what apply must write for Calc's file.
    raised = os.path.join(work, "raised.pak")
    shutil.copy(roster, raised)
    run([cli, "bulk", raised, "--set", ACCURACY + "+=1", "--no-backup"])
    expected = {"via-xlsx.csv": read(roster), "utf8-import.csv": read(roster),
                "raised.csv": read(raised), "resaved.xlsx": read(roster),
                "picked.xlsx": read(picked_pak)}
    refusals = {"wrong-encoding.csv": "in the wrong encoding",
                "past-validation.xlsx": f"Players!{column_letter(workbook, ACCURACY)}6: "
                                        f"column {ACCURACY}: Invalid value \"70\""}

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
            reason = refusals[name]
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
