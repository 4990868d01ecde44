#!/usr/bin/python3
"""Prints what a workbook holds as JSON, read independently with openpyxl.

Usage: readworkbook.py FILE
Output: {"sheets": [names in tab order],
         "content": {name: {"rows": [[{"value", "type", "format"} ...] ...],
                            "widths": {column letter: width}}}}
"""
import datetime
import json
import sys

import openpyxl


def cell_json(cell):
    value = cell.value
    if isinstance(value, datetime.datetime):
        kind, value = "datetime", value.strftime("%Y-%m-%d %H:%M:%S")
    elif isinstance(value, bool):
        kind = "bool"
    elif isinstance(value, (int, float)):
        kind = "number"
    elif value is None:
        kind = "empty"
    else:
        kind = "text"
    return {"value": value, "type": kind, "format": cell.number_format}


def main():
    # Opened by content: the export writes .xlsx under whatever name the
    # user chose, and openpyxl refuses names that end in ".xls".
    with open(sys.argv[1], "rb") as stream:
        workbook = openpyxl.load_workbook(stream)
    content = {}
    for sheet in workbook.worksheets:
        rows = [[cell_json(cell) for cell in row] for row in sheet.iter_rows()]
        widths = {letter: dimension.width
                  for letter, dimension in sheet.column_dimensions.items()
                  if dimension.customWidth}
        content[sheet.title] = {"rows": rows, "widths": widths}
    json.dump({"sheets": workbook.sheetnames, "content": content}, sys.stdout)


if __name__ == "__main__":
    main()
