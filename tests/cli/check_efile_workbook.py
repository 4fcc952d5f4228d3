#!/usr/bin/env python3
"""Reads back the e-filing workbooks that `lavodc-cli efile` writes, as a spreadsheet program
sees them: titles, cell types (text or number), values, the tax office's columns, the summary on
standard error, and what a failed command leaves.

usage: check_efile_workbook.py LAVODC_CLI SCRATCH_FOLDER
"""
import json
import os
import resource
import shutil
import signal
import subprocess
import sys
import unittest

import openpyxl
from openpyxl.utils import get_column_letter

CLI = None
SCRATCH = None

TITLES = (["보험구분", "성명", "주민(외국인)등록번호", "국적코드", "체류자격코드", "전화(지역번호)", "전화(국번)",
           "전화(뒷번호)", "직종코드"] + [f"{d}일" for d in range(1, 32)] +
          ["근로일수", "일평균근로시간", "보수지급기초일수", "보수총액(과세소득)", "임금총액", "이직사유코드",
           "보험료부과구분부호", "보험료부과구분사유", "국세청일용근로소득신고여부", "지급월", "총지급액(과세소득)",
           "비과세소득", "소득세", "지방소득세"])
TEXT_COLUMNS = ["A", "B", "C", "D", "E", "F", "G", "H", "I", "AT", "AW", "AX"]
NUMBER_COLUMNS = ["AO", "AP", "AQ", "AR", "AS", "AY", "AZ", "BA", "BB"]
DAY_COLUMNS = [get_column_letter(10 + d) for d in range(31)]   # J .. AN


def days(*numbers):
    return {f"d{d:02d}": "√" for d in numbers}


# November 2026 has 30 days. By name the workers come 강한국, 무전화, 응우옌, 이직자; the test
# turns the file's records round, so the workbook must follow the file: 이직자 first.
SHEET = {
    "header": {"gsName": "행복 신축공사", "gsyear": "2026", "gmonth": "11"},
    "workers": [
        {"pName": "강한국", "JmnNo": "881130-1234568", "nName": "A.철근원", "nTel": "(010)9876-5432",
         "nDay": 8, "SmMny": 600000, **days(3, 4, 5)},
        {"pName": "응우옌", "JmnNo": "900101-5123456", "nName": "U.건설단순노무자", "nTel": "( 02) 555-1234",
         "nDay": 7.5, "SmMny": 130000, **days(10)},
        {"pName": "이직자", "JmnNo": "750505-1234564", "nName": "B.철골공", "nTel": "(031)123-4567",
         "nEtc": "2.부득이한 개인사정", "nDay": 8, "SmMny": 561111, **days(1, 30, 31)},
        {"pName": "무전화", "JmnNo": "050101-3123456", "nName": "A.철근원", "nTel": "",
         "nDay": 8, "SmMny": 187037.04, **days(2)},
    ],
}
ORDER = ["이직자", "응우옌", "무전화", "강한국"]   # rows 2 .. 5

JOBS = "직종,직종코드\nA,701\nU.건설단순노무자,706\n"            # no code for B
PEOPLE = "주민(외국인)등록번호,국적코드,체류자격코드\n900101-5123456,250,e-9\n"

# Row by row what the workbook holds apart from the days, with the tax office's columns.
# 이직자: 561,111 won for 2 days (the 31st left out) = 280,555.5 a day;
#   (280,555.5 - 150,000) x 2.7 % = 3,524.99, cut to 3,524 a day; 7,048 for 2 days; 704 local.
# 무전화: 187,037.04 won in one day: 37,037.04 x 2.7 % = 1,000.0001 -> 1,000; 100 local.
# 강한국: 200,000 a day: 1,350 a day; 4,050; 405.  응우옌: 130,000 a day: nothing.
EXPECTED = {
    "이직자": {"A": "5", "B": "이직자", "C": "7505051234564", "D": "100", "E": None, "F": "031", "G": "123",
            "H": "4567", "I": None, "AO": 2, "AP": 8, "AQ": 2, "AR": 561111, "AS": 561111, "AT": "2",
            "AY": 561111, "BA": 7048, "BB": 704},
    "무전화": {"A": "5", "B": "무전화", "C": "0501013123456", "D": "100", "E": None, "F": None, "G": None, "H": None,
            "I": "701", "AO": 1, "AP": 8, "AQ": 1, "AR": 187037.04, "AS": 187037.04, "AT": None,
            "AY": 187037.04, "BA": 1000, "BB": 100},
    "응우옌": {"A": "5", "B": "응우옌", "C": "9001015123456", "D": "250", "E": "E-9", "F": "02", "G": "555",
            "H": "1234", "I": "706", "AO": 1, "AP": 7.5, "AQ": 1, "AR": 130000, "AS": 130000, "AT": None,
            "AY": 130000, "BA": 0, "BB": 0},
    "강한국": {"A": "5", "B": "강한국", "C": "8811301234568", "D": "100", "E": None, "F": "010", "G": "9876",
            "H": "5432", "I": "701", "AO": 3, "AP": 8, "AQ": 3, "AR": 600000, "AS": 600000, "AT": None,
            "AY": 600000, "BA": 4050, "BB": 405},
}
WORKED = {"이직자": {1, 30}, "무전화": {2}, "응우옌": {10}, "강한국": {3, 4, 5}}


def run(*args, **kwargs):
    return subprocess.run([CLI, *args], capture_output=True, text=True, **kwargs)


def write(name, text):
    path = os.path.join(SCRATCH, name)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)
    return path


def leftovers():
    return sorted(f for f in os.listdir(SCRATCH) if f.startswith("."))


class EfileWorkbookTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(SCRATCH, ignore_errors=True)
        os.makedirs(SCRATCH)
        json_path = write("sheet.json", json.dumps(SHEET, ensure_ascii=False))
        cls.lvo = os.path.join(SCRATCH, "sheet.Lvo")
        built = run("build", json_path, cls.lvo)
        assert built.returncode == 0, built.stderr
        # The worker records the other way round: the order of the file is the workbook's.
        with open(cls.lvo, "rb") as f:
            data = f.read()
        records = [data[i:i + 344] for i in range(0, len(data), 344)]
        with open(cls.lvo, "wb") as f:
            f.write(b"".join(records[:3] + records[3:][::-1]))
        cls.jobs = write("jobs.csv", JOBS)
        cls.people = write("people.csv", PEOPLE)
        cls.tax_path = os.path.join(SCRATCH, "tax.xlsx")
        cls.plain_path = os.path.join(SCRATCH, "plain.xlsx")
        cls.tax_run = run("efile", cls.lvo, cls.tax_path, "--jobs", cls.jobs, "--people", cls.people,
                          "--nts", "202612")
        cls.plain_run = run("efile", cls.lvo, cls.plain_path, "--insurance", "3", "--jobs", cls.jobs,
                            "--people", cls.people)
        assert cls.tax_run.returncode == 0, cls.tax_run.stderr
        assert cls.plain_run.returncode == 0, cls.plain_run.stderr
        cls.tax_book = openpyxl.load_workbook(cls.tax_path)
        cls.plain_book = openpyxl.load_workbook(cls.plain_path)
        cls.tax = cls.tax_book["서식"]
        cls.plain = cls.plain_book["서식"]
        # Read before any test looks at a cell: openpyxl adds the cells it is asked for.
        cls.dimensions = (cls.tax.dimensions, cls.plain.dimensions)

    def test_one_sheet_with_the_titles_and_one_row_a_worker_in_the_files_order(self):
        for book, sheet in ((self.tax_book, self.tax), (self.plain_book, self.plain)):
            self.assertEqual(book.sheetnames, ["서식"])
            self.assertEqual([sheet.cell(1, c).value for c in range(1, 55)], TITLES)
            self.assertEqual([sheet.cell(r, 2).value for r in range(2, 6)], ORDER)
        self.assertEqual(self.dimensions, ("A1:BB5", "A1:BB5"))
        for c in range(1, 56):
            self.assertIsNone(self.tax.cell(6, c).value)
        self.assertIsNone(self.tax.cell(1, 55).value)

    def test_codes_and_numbers_with_leading_zeros_are_text(self):
        for r, name in enumerate(ORDER, start=2):
            for letter in TEXT_COLUMNS[:10]:
                cell = self.tax[f"{letter}{r}"]
                with self.subTest(cell=cell.coordinate, worker=name):
                    self.assertEqual(cell.value, EXPECTED[name][letter])
                    if cell.value is not None:
                        self.assertEqual(cell.data_type, "s")
                    if letter != "B":
                        # An empty cell has its column's format, which keeps a code typed later.
                        shown = cell if cell.value is not None else self.tax.column_dimensions[letter]
                        self.assertEqual(shown.number_format, "@")
            for letter, value in (("AW", "Y"), ("AX", "202612")):
                cell = self.tax[f"{letter}{r}"]
                self.assertEqual((cell.value, cell.data_type, cell.number_format), (value, "s", "@"))

    def test_counts_and_amounts_are_numbers(self):
        for r, name in enumerate(ORDER, start=2):
            for letter in NUMBER_COLUMNS:
                cell = self.tax[f"{letter}{r}"]
                expected = 0 if letter == "AZ" else EXPECTED[name][letter]
                with self.subTest(cell=cell.coordinate, worker=name):
                    self.assertEqual(cell.data_type, "n")
                    self.assertEqual(cell.value, expected)

    def test_a_worked_day_is_the_number_one_and_a_mark_past_the_months_end_is_left_out(self):
        for r, name in enumerate(ORDER, start=2):
            for day, letter in enumerate(DAY_COLUMNS, start=1):
                cell = self.tax[f"{letter}{r}"]
                with self.subTest(cell=cell.coordinate, worker=name):
                    if day in WORKED[name]:
                        self.assertEqual((cell.value, cell.data_type), (1, "n"))
                    else:
                        self.assertIsNone(cell.value)
        self.assertIsNone(self.tax["AN2"].value)   # 이직자's 31st of November

    def test_insurance_premium_columns_stay_empty(self):
        for sheet in (self.tax, self.plain):
            for r in range(2, 6):
                self.assertIsNone(sheet[f"AU{r}"].value)
                self.assertIsNone(sheet[f"AV{r}"].value)

    def test_without_the_tax_office_the_last_six_columns_stay_empty(self):
        for r, name in enumerate(ORDER, start=2):
            self.assertEqual(self.plain[f"A{r}"].value, "3")
            for letter in ("AW", "AX", "AY", "AZ", "BA", "BB"):
                self.assertIsNone(self.plain[f"{letter}{r}"].value, f"{letter}{r}")
            for letter in ("C", "I", "AO", "AR", "AT"):
                self.assertEqual(self.plain[f"{letter}{r}"].value, EXPECTED[name][letter])

    def test_the_summary_goes_to_standard_error(self):
        self.assertEqual(self.tax_run.stderr.splitlines(), [
            "이직자: 11월에 없는 31일의 표시를 뺐습니다",
            "B.철골공: 직종코드가 없습니다 (이직자)",
        ])
        self.assertIn("tax.xlsx: 4 workers", self.tax_run.stdout)

    def test_the_summary_names_a_foreigner_without_codes(self):
        out = os.path.join(SCRATCH, "nocodes.xlsx")
        outcome = run("efile", self.lvo, out)
        self.assertEqual(outcome.returncode, 0, outcome.stderr)
        self.assertIn("응우옌: 외국인의 국적코드와 체류자격코드가 없습니다", outcome.stderr.splitlines())
        self.assertIn("A.철근원: 직종코드가 없습니다 (무전화 외 1명)", outcome.stderr.splitlines())
        sheet = openpyxl.load_workbook(out)["서식"]
        self.assertEqual(sheet["B3"].value, "응우옌")
        self.assertIsNone(sheet["D3"].value)
        self.assertIsNone(sheet["E3"].value)
        self.assertIsNone(sheet["I3"].value)

    def test_command_line_errors_leave_no_file(self):
        long_value = "9" * 200
        bad_jobs = write("bad_jobs.csv", "A,701\nZ,7O1\nB," + "7" * 150 + "\n")
        out = os.path.join(SCRATCH, "never.xlsx")
        cases = [
            ("usage", [self.lvo], 2, "usage"),
            ("unknown option", [self.lvo, out, "--weeks", "1"], 2, "--weeks"),
            ("option without value", [self.lvo, out, "--jobs"], 2, "needs a value"),
            ("insurance", [self.lvo, out, "--insurance", "2"], 2, "1, 3 or 5"),
            ("month of payment", [self.lvo, out, "--nts", "202613"], 2, "yyyymm"),
            ("long value", [self.lvo, out, "--nts", long_value], 2, '"' + "9" * 80 + '..."'),
            ("workbook over the sheet", [self.lvo, self.lvo], 2, "replace the sheet file"),
            ("workbook over the job file", [self.lvo, self.jobs, "--jobs", self.jobs], 2, "replace the job file"),
            ("missing sheet", [os.path.join(SCRATCH, "none.Lvo"), out], 1, "none.Lvo"),
            ("missing job file", [self.lvo, out, "--jobs", os.path.join(SCRATCH, "none.csv")], 1, "none.csv"),
            # The sheet was read: its summary comes before the failure.
            ("missing folder", [self.lvo, os.path.join(SCRATCH, "no", "x.xlsx")], 1, "No such file"),
        ]
        for name, args, code, mentions in cases:
            with self.subTest(name):
                outcome = run("efile", *args)
                self.assertEqual(outcome.returncode, code, outcome.stderr)
                self.assertEqual(outcome.stdout, "")
                lines = outcome.stderr.splitlines()
                self.assertEqual(len(lines), 6 if name == "missing folder" else 1, outcome.stderr)
                self.assertTrue(lines[-1].startswith("lavodc-cli efile: "), outcome.stderr)
                self.assertIn(mentions, lines[-1])
                self.assertNotIn(long_value, outcome.stderr)
        # A job file with lines that cannot be read: each named, quoted at most 80 characters.
        outcome = run("efile", self.lvo, out, "--jobs", bad_jobs)
        self.assertEqual(outcome.returncode, 1)
        lines = outcome.stderr.splitlines()
        self.assertEqual(len(lines), 3, outcome.stderr)
        self.assertIn('line 2: "Z,7O1": 직종 목록에 없는 직종입니다', lines[0])
        self.assertIn('line 3: "B,' + "7" * 78 + '...": 직종코드는 숫자 세 자리입니다', lines[1])
        self.assertIn("nothing written", lines[2])
        self.assertFalse(os.path.exists(out))
        self.assertEqual(leftovers(), [])

    def test_a_failed_write_leaves_nothing_and_keeps_the_librarys_own_messages_away(self):
        def small_files():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (1024, 1024))
        out = os.path.join(SCRATCH, "too_big.xlsx")
        outcome = run("efile", self.lvo, out, preexec_fn=small_files)
        self.assertEqual(outcome.returncode, 1)
        self.assertNotIn("[ERROR]", outcome.stderr)
        self.assertIn("cannot write", outcome.stderr.splitlines()[-1])
        self.assertFalse(os.path.exists(out))
        self.assertEqual(leftovers(), [])


if __name__ == "__main__":
    CLI, SCRATCH = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0], "-v"])
