#!/usr/bin/env python3
"""Reads back the workbooks that `lavodc-cli xlsx` writes, as a spreadsheet program sees them.

usage: check_xlsx_workbook.py LAVODC_CLI SCRATCH_FOLDER
"""
import json
import os
import re
import shutil
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

import openpyxl
from openpyxl.utils import get_column_letter
from PIL import ImageFont

CLI = None
SCRATCH = None

WORKER_FIELDS = ["pName", "JmnNo", "nAddr", "nTel", "nName", "nNal", "nDay", "SmMny", "nEtc"]
WORKER_TITLES = ["성    명", "주민등록번호", "주                    소    ", "전화번호", "직        종",
                 "일수", "평균시간", "임금총액", "이 직 사 유"]
TEXT_COLUMNS = "BCDEFJ"
NUMBER_COLUMNS = "GHI"

# Three workers; by name they come as 가람, 나래, 하윤.
SHEET = {
    "header": {"gsName": "서울 신축공사", "gsyear": "2024", "gmonth": "5"},
    "workers": [
        {"pName": "하윤", "JmnNo": "900101-1234567", "nAddr": "서울특별시 중구 세종대로 110 서울시청 별관 3층 301호",
         "nTel": "(042) 123-4567", "nName": "B.철골공", "nDay": 7.5, "SmMny": 1234567,
         "nEtc": "2.부득이한 개인사정", "d01": "√", "d02": "√", "d31": "√"},
        {"pName": "가람", "JmnNo": "0012", "nAddr": "WWWWWWWWWWMMMMMMMMMM", "nTel": "010-1111-2222",
         "nName": "탭\t든\t직종", "nDay": 17, "SmMny": 98765432, "nEtc": "줄\n바꿈", "d05": "√"},
        {"pName": "나래", "nName": "_x0041_ \u0001그대로", "SmMny": 0},
    ],
}


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True)


def font_file(pattern):
    return subprocess.run(["fc-match", "-f", "%{file}", pattern], capture_output=True, text=True,
                          check=True).stdout


class Fonts:
    """The fonts that show 굴림 here: the default sans for Latin letters, a Korean one for Hangul."""
    latin = None
    korean = None

    @classmethod
    def pixels(cls, text):
        if cls.latin is None:
            cls.latin = ImageFont.truetype(font_file("굴림"), 12)      # 9 points at 96 dpi
            cls.korean = ImageFont.truetype(font_file("굴림:lang=ko"), 12)
        total = 0.0
        for ch in text:
            if ord(ch) < 0x80:
                total += max(cls.latin.getlength(ch), cls.korean.getlength(ch))
            else:
                total += cls.korean.getlength(ch)
        return total


def shared_strings(path):
    """The workbook's strings decoded as spreadsheet programs do it, "_xHHHH_" escapes included
    (the openpyxl of Debian 12 decodes only "_x005F_")."""
    namespace = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    with zipfile.ZipFile(path) as book:
        root = ElementTree.fromstring(book.read("xl/sharedStrings.xml"))
    decode = lambda text: re.sub("_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text)
    return [decode("".join(t.text or "" for t in si.iter(namespace + "t"))) for si in root.iter(namespace + "si")]


def column_pixels(sheet, letter):
    # The stored width is in characters of the default font (7 pixels) and holds 5 pixels of margin.
    return sheet.column_dimensions[letter].width * 7


def hairline_black(side):
    return side is not None and side.style == "hair" and side.color is not None and side.color.rgb == "FF000000"


def no_line(side):
    return side is None or side.style is None


class WorkbookTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(SCRATCH, ignore_errors=True)
        os.makedirs(SCRATCH)
        cls.json_path = os.path.join(SCRATCH, "sheet.json")
        with open(cls.json_path, "w", encoding="utf-8") as out:
            json.dump(SHEET, out, ensure_ascii=False)
        cls.lvo = os.path.join(SCRATCH, "sheet.Lvo")
        built = run("build", cls.json_path, cls.lvo)
        assert built.returncode == 0, built.stderr
        cls.list_path = os.path.join(SCRATCH, "list.xlsx")
        cls.days_path = os.path.join(SCRATCH, "days.xlsx")
        for path, extra in ((cls.list_path, []), (cls.days_path, ["--days"])):
            written = run("xlsx", cls.lvo, path, *extra)
            assert written.returncode == 0, written.stderr
        cls.list_book = openpyxl.load_workbook(cls.list_path)
        cls.days_book = openpyxl.load_workbook(cls.days_path)
        cls.sheet = cls.list_book["Sheet1"]
        # Read before any test looks at a cell: openpyxl adds the cells it is asked for.
        cls.list_dimensions = cls.sheet.dimensions
        cls.days_dimensions = cls.days_book["Sheet1"].dimensions

    def test_one_sheet_named_sheet1_with_the_table_from_b2(self):
        self.assertEqual(self.list_book.sheetnames, ["Sheet1"])
        self.assertEqual(self.list_dimensions, "B1:J5")
        self.assertEqual([self.sheet.cell(2, c).value for c in range(2, 11)], WORKER_TITLES)
        self.assertEqual([self.sheet.cell(r, 2).value for r in range(3, 6)], ["가람", "나래", "하윤"])
        for r in (1, 2, 3, 4, 5):
            self.assertIsNone(self.sheet.cell(r, 1).value)
        for c in range(1, 12):
            self.assertIsNone(self.sheet.cell(6, c).value)

    def test_text_columns_hold_text_in_the_text_format(self):
        expected = {
            "B5": "하윤", "C5": "900101-1234567", "D5": "서울특별시 중구 세종대로 110 서울시청 별관 3층 301호",
            "E5": "(042) 123-4567", "F5": "B.철골공", "J5": "2.부득이한 개인사정",
            "C3": "0012",                           # leading zeros kept: a text, not a number
            "F3": "탭\t든\t직종", "J3": "줄\n바꿈",  # one cell each, whatever they hold
        }
        for ref, value in expected.items():
            with self.subTest(cell=ref):
                cell = self.sheet[ref]
                self.assertEqual(cell.data_type, "s")
                self.assertEqual(cell.value, value)
        # Control characters and text that looks like their escapes come back as they were.
        self.assertIn("_x0041_ \u0001그대로", shared_strings(self.list_path))
        self.assertEqual(self.sheet["F4"].data_type, "s")
        for letter in TEXT_COLUMNS:
            for r in range(1, 6):
                with self.subTest(cell=f"{letter}{r}"):
                    self.assertEqual(self.sheet[f"{letter}{r}"].number_format, "@")
            self.assertIsNone(self.sheet[f"{letter}4"].value if letter in "CDEJ" else None)

    def test_number_columns_hold_numbers(self):
        rows = {3: (1, 17, 98765432), 4: (0, 0, 0), 5: (3, 7.5, 1234567)}
        for r, values in rows.items():
            for letter, value in zip(NUMBER_COLUMNS, values):
                with self.subTest(cell=f"{letter}{r}"):
                    cell = self.sheet[f"{letter}{r}"]
                    self.assertEqual(cell.data_type, "n")
                    self.assertEqual(cell.value, value)
                    self.assertEqual(cell.number_format, "General")

    def test_hairline_black_borders_on_the_table_and_no_line_elsewhere(self):
        for r in range(2, 6):
            for c in range(2, 11):
                border = self.sheet.cell(r, c).border
                with self.subTest(cell=self.sheet.cell(r, c).coordinate):
                    for side in (border.left, border.right, border.top, border.bottom):
                        self.assertTrue(hairline_black(side))
        for c in range(2, 11):
            border = self.sheet.cell(1, c).border
            self.assertTrue(hairline_black(border.bottom))   # the top edge over row 1
            self.assertTrue(no_line(border.top) and no_line(border.left) and no_line(border.right))
        outside = [(r, 1) for r in range(1, 7)] + [(r, 11) for r in range(1, 7)] + \
                  [(6, c) for c in range(2, 11)] + [(1, 1), (20, 5), (3, 40)]
        for r, c in outside:
            border = self.sheet.cell(r, c).border
            with self.subTest(cell=self.sheet.cell(r, c).coordinate):
                for side in (border.left, border.right, border.top, border.bottom):
                    self.assertTrue(no_line(side))
        self.assertFalse(self.sheet.sheet_view.showGridLines)

    def test_grey_centred_header_and_plain_rows(self):
        for c in range(2, 11):
            title = self.sheet.cell(2, c)
            with self.subTest(cell=title.coordinate):
                self.assertEqual(title.fill.fill_type, "solid")
                self.assertEqual(title.fill.fgColor.rgb, "FFC0C0C0")
                self.assertEqual(title.alignment.horizontal, "center")
                row = self.sheet.cell(3, c)
                self.assertIsNone(row.fill.fill_type)
                self.assertNotEqual(row.alignment.horizontal, "center")

    def test_font_and_row_height_on_the_whole_sheet(self):
        cells = [self.sheet.cell(r, c) for r in range(1, 6) for c in range(2, 11)]
        for cell in cells:
            with self.subTest(cell=cell.coordinate):
                self.assertEqual(cell.font.name, "굴림")
                self.assertEqual(cell.font.sz, 9)
        for r in range(1, 6):
            self.assertEqual(self.sheet.row_dimensions[r].height, 17)
        self.assertEqual(self.sheet.sheet_format.defaultRowHeight, 17)
        # Empty cells take their column's font: column A, the table's columns and all columns
        # right of it.
        for letter in ("A", "B", "G", "J", "K"):
            font = self.sheet.column_dimensions[letter].font
            self.assertEqual((font.name, font.sz), ("굴림", 9), letter)
        self.assertEqual(self.sheet.column_dimensions["K"].max, 16384)

    def test_column_a_is_one_character_wide(self):
        # Shown as the width the user set: the stored width less the 5 pixels of margin.
        shown = (column_pixels(self.sheet, "A") - 5) / 7
        self.assertAlmostEqual(shown, 1, delta=0.01)

    def test_columns_fit_their_longest_text(self):
        for c, field in zip(range(2, 11), WORKER_FIELDS):
            letter = get_column_letter(c)
            if letter in TEXT_COLUMNS:
                texts = [w.get(field, "") for w in SHEET["workers"]]
            else:
                texts = [str(self.sheet.cell(r, c).value) for r in range(3, 6)]
            texts.append(WORKER_TITLES[c - 2])
            longest = max(Fonts.pixels(t) for t in texts)
            width = column_pixels(self.sheet, letter)
            with self.subTest(column=letter, texts=texts):
                self.assertGreaterEqual(width, longest + 5)        # nothing cut, no ###
                self.assertLessEqual(width, longest * 1.25 + 16)   # and not far wider

    def test_selection_on_b2(self):
        selection = self.sheet.sheet_view.selection[0]
        self.assertEqual(selection.activeCell, "B2")
        self.assertEqual(selection.sqref, "B2")

    def test_day_strip_gives_31_columns_b_to_af(self):
        sheet = self.days_book["Sheet1"]
        self.assertEqual(self.days_dimensions, "B1:AF5")
        self.assertEqual([sheet.cell(2, c).value for c in range(2, 33)], [str(d) for d in range(1, 32)])
        self.assertIsNone(sheet["AG2"].value)
        marks = {f"{get_column_letter(c)}{r}" for r in range(3, 6) for c in range(2, 33)
                 if sheet.cell(r, c).value is not None}
        self.assertEqual(marks, {"F3", "B5", "C5", "AF5"})
        self.assertEqual(sheet["AF5"].value, "√")
        self.assertEqual(sheet["AF5"].number_format, "@")
        self.assertTrue(hairline_black(sheet["AF5"].border.right))
        self.assertTrue(hairline_black(sheet["AF1"].border.bottom))
        self.assertTrue(no_line(sheet["AG3"].border.left))

    def test_command_line_errors(self):
        empty_json = os.path.join(SCRATCH, "empty.json")
        with open(empty_json, "w", encoding="utf-8") as out:
            json.dump({"header": {}, "workers": []}, out)
        empty_lvo = os.path.join(SCRATCH, "empty.Lvo")
        self.assertEqual(run("build", empty_json, empty_lvo).returncode, 0)
        cases = [
            ("usage", [self.lvo], 2, "usage"),
            ("unknown option", [self.lvo, "x.xlsx", "--weeks"], 2, "--weeks"),
            ("workbook over the sheet", [self.lvo, self.lvo], 2, "replace the sheet file"),
            ("missing sheet", [os.path.join(SCRATCH, "none.Lvo"), "x.xlsx"], 1, "none.Lvo"),
            ("empty sheet", [empty_lvo, os.path.join(SCRATCH, "e.xlsx")], 1, "no workers"),
            ("missing folder", [self.lvo, os.path.join(SCRATCH, "no", "x.xlsx")], 1, "No such file"),
        ]
        for name, args, code, mentions in cases:
            with self.subTest(name):
                outcome = run("xlsx", *args)
                self.assertEqual(outcome.returncode, code)
                self.assertEqual(outcome.stdout, "")
                self.assertEqual(outcome.stderr.count("\n"), 1, outcome.stderr)
                self.assertIn(mentions, outcome.stderr)
        self.assertFalse(os.path.exists(os.path.join(SCRATCH, "e.xlsx")))
        self.assertEqual(sorted(f for f in os.listdir(SCRATCH) if f.startswith(".")), [])


if __name__ == "__main__":
    CLI, SCRATCH = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0], "-v"])
