#!/usr/bin/env python3
"""Writes the seed sessions of fuzz_form_session into corpus/fuzz_form_session.

The fuzz target reads its actions through libFuzzer's FuzzedDataProvider:
whole numbers come from the end of the input (the first one consumed is the
last byte), strings from the front (a backslash followed by any other byte
ends a string, two backslashes stand for one). The encoder below writes
inputs in that layout. The tables must follow those of fuzz_form_session.cpp;
when they change there, change them here and run this script again.
"""
import os
import sys

ACTIONS = ["set text", "select", "ok", "calculate", "write file", "write shaped file",
           "click prepared", "click missing", "open about", "close about", "choose drive",
           "open directory", "clear test options"]
TEXT_BOXES = ["Text_nU", "Text_nPoly", "Text_a0", "Text_a1", "Text_a2", "Text_a3", "Text_a4",
              "Text_nI", "Text_nDeg"]
OPTIONS = ["Option_SinFunc", "Option_Cos10Fu", "Option_Polynom", "Option_DataSet",
           "Option_InterCubc", "Option_InterPwCb", "Option_Tarvel"]
INTERESTING_TEXTS = ["0", "1", "2", "1001", "1002", "101", "102", "302", "303", "-1",
                     "2.5", "1e400", "&HFF", "abc", "", "1e300", "-1e300", "3", "11", "150",
                     "4", "100", "301", "-0.5", "0.5", "1e-320", "&O1751", "1 0 0 1", "-1e400",
                     "1000.5"]
PREPARED = ["three.dsf", "one line.dsf", "crlf.dsf", "zero.dsf", "short.dsf", "twins.dsf",
            "descending.dsf", "zigzag.dsf", "huge.dsf", "tiny steps.dsf", "wide.dsf",
            "spline limit.dsf", "pw limit.dsf", "full.dsf", "over.dsf", "back and forth.dsf"]
DRIVES = ["/", "/no-such-drive-tarvel", ""]
DIRECTORIES = ["scratch", "nested", "a file", "missing"]
SHAPED_COUNTS = [0, 1, 2, 3, 4, 5, 7, 11, 101, 102, 301, 302, 303, 1001, 1002]


class Encoder:
    def __init__(self):
        self.front = bytearray()
        self.back = []  # bytes in the order they are consumed from the end

    def number(self, value, low, high):
        span = high - low
        size = 0
        while size < 4 and span >> (8 * size) > 0:
            size += 1
        offset = value - low
        assert 0 <= offset <= span
        self.back.extend((offset >> (8 * (size - 1 - k))) & 0xFF for k in range(size))

    def string(self, text, limit):
        data = text.encode() if isinstance(text, str) else text
        assert len(data) <= limit
        self.front += data.replace(b"\\", b"\\\\")
        if len(data) < limit:
            self.front += b"\\ "

    def choice(self, table, item):
        self.number(table.index(item), 0, len(table) - 1)

    def data(self):
        return bytes(self.front) + bytes(reversed(self.back))


class Session:
    def __init__(self):
        self.e = Encoder()

    def action(self, name):
        self.e.choice(ACTIONS, name)
        return self

    def text(self, box, text):
        self.action("set text")
        self.e.choice(TEXT_BOXES, box)
        if text in INTERESTING_TEXTS:
            self.e.number(INTERESTING_TEXTS.index(text), 0, len(INTERESTING_TEXTS))
        else:
            self.e.number(len(INTERESTING_TEXTS), 0, len(INTERESTING_TEXTS))
            self.e.string(text, 24)
        return self

    def select(self, option):
        self.action("select")
        self.e.choice(OPTIONS, option)
        return self

    def ok(self):
        return self.action("ok")

    def calculate(self):
        return self.action("calculate")

    def write(self, content):
        self.action("write file")
        self.e.string(content, 4096)
        return self

    def shaped(self, count, x_shape, y_shape, layout, mismatch=0, ordinates=()):
        """x_shape 0..5 and y_shape 0..2 only: the others take raw doubles."""
        self.action("write shaped file")
        self.e.choice(SHAPED_COUNTS, count)
        self.e.number(x_shape, 0, 6)
        self.e.number(y_shape, 0, 3)
        self.e.number(layout, 0, 3)
        self.e.number(mismatch, 0, 3)
        for value in ordinates:  # y_shape 1: small integers -3..3
            self.e.number(value, -3, 3)
        return self

    def prepared(self, name):
        self.action("click prepared")
        self.e.choice(PREPARED, name)
        return self

    def missing(self):
        return self.action("click missing")

    def about(self):
        return self.action("open about")

    def close_about(self):
        return self.action("close about")

    def drive(self, drive):
        self.action("choose drive")
        self.e.choice(DRIVES, drive)
        return self

    def directory(self, which):
        self.action("open directory")
        self.e.choice(DIRECTORIES, which)
        return self

    def clear_options(self):
        return self.action("clear test options")


def sessions():
    s = {}
    s["default-ok-calculate"] = Session().ok().calculate()
    s["cubic-spline"] = Session().select("Option_InterCubc").ok().calculate()
    s["pw-spline-21-points"] = (Session().select("Option_InterPwCb").text("Text_nU", "21")
                                .ok().calculate())
    s["polynomial-degree-2.5"] = (Session().select("Option_Polynom").text("Text_nPoly", "2.5")
                                  .ok().text("Text_nDeg", "3").calculate())
    s["cos10-1001-points-degree-100"] = (Session().select("Option_Cos10Fu")
                                         .text("Text_nU", "1001").text("Text_nI", "1001")
                                         .text("Text_nDeg", "100").ok().calculate())
    s["data-set-three-methods"] = (Session().select("Option_DataSet").prepared("three.dsf").ok()
                                   .calculate().select("Option_InterCubc").calculate()
                                   .select("Option_InterPwCb").calculate())
    s["written-file"] = (Session().select("Option_DataSet")
                         .write("3\n0, 0, 1\n1, 0.5, 2\n2, 1, 0\n").ok()
                         .select("Option_InterPwCb").calculate())
    s["shaped-reversed-crlf"] = (Session().select("Option_DataSet").shaped(11, 1, 0, 1).ok()
                                 .select("Option_InterCubc").calculate())
    s["shaped-small-integers"] = (Session().select("Option_DataSet")
                                  .shaped(7, 0, 1, 0, 0, [3, -3, 0, 2, 1, -1, 3]).ok()
                                  .text("Text_nDeg", "4").calculate())
    s["refusals"] = (Session().calculate().text("Text_nU", "1002").ok().text("Text_nU", "1")
                     .ok().text("Text_nU", "11").ok().text("Text_nI", "1").calculate()
                     .text("Text_nI", "1002").calculate().text("Text_nI", "150")
                     .text("Text_nDeg", "11").calculate().text("Text_nU", "1e400").ok())
    s["browser"] = (Session().drive("/").directory("scratch").directory("nested")
                    .prepared("three.dsf").drive("/no-such-drive-tarvel").missing()
                    .directory("a file").about().about().close_about().about())
    s["no-test-option"] = Session().ok().clear_options().ok().calculate()
    s["awkward-data-sets"] = (Session().select("Option_DataSet").prepared("huge.dsf").ok()
                              .select("Option_InterCubc").calculate().prepared("twins.dsf").ok()
                              .calculate().prepared("zigzag.dsf").ok()
                              .select("Option_InterPwCb").calculate()
                              .prepared("tiny steps.dsf").ok().calculate()
                              .prepared("wide.dsf").ok().select("Option_Tarvel").calculate()
                              .prepared("back and forth.dsf").ok().select("Option_InterCubc")
                              .calculate())
    s["full-data-set"] = (Session().select("Option_DataSet").prepared("full.dsf")
                          .text("Text_nI", "1001").ok().text("Text_nDeg", "100").calculate()
                          .prepared("over.dsf").prepared("spline limit.dsf").ok()
                          .select("Option_InterCubc").calculate())
    s["edited-count-after-ok"] = (Session().ok().text("Text_nU", "1001").calculate()
                                  .text("Text_nU", "0").calculate().text("Text_nU", "-1")
                                  .calculate())
    return s


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "corpus", "fuzz_form_session")
    os.makedirs(target, exist_ok=True)
    for name, session in sessions().items():
        with open(os.path.join(target, name), "wb") as out:
            out.write(session.e.data())
    print("wrote", len(sessions()), "sessions to", target, file=sys.stderr)


if __name__ == "__main__":
    main()
