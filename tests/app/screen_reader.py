#!/usr/bin/python3
"""Reads a table of another program through AT-SPI, as a screen reader does.

    screen_reader.py <process id> <table name> <row>...

Finds the program among the desktop's applications by its process id, and in it the table by its
role and accessible name; reads its size, its column titles, the first column's cell of each row
asked for, and the selected rows. Prints what it heard as one line of JSON, or {"error": ...}
when there was nothing to hear within twenty seconds.
"""
import json
import sys
import time

import pyatspi


def find_table(pid, name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        pending = [app]
        while pending:
            node = pending.pop()
            if node.getRole() == pyatspi.ROLE_TABLE:
                if node.name == name:
                    return node
                continue  # a table's children are its cells
            pending.extend(child for child in node if child is not None)
    return None


def main():
    pid, name, rows = int(sys.argv[1]), sys.argv[2], [int(row) for row in sys.argv[3:]]
    deadline = time.monotonic() + 20
    table = find_table(pid, name)
    while table is None:
        if time.monotonic() > deadline:
            print(json.dumps({"error": f"no table named {name} in process {pid}"}, ensure_ascii=False))
            return 1
        time.sleep(0.2)
        table = find_table(pid, name)

    grid = table.queryTable()
    selected = list(grid.getSelectedRows())
    header = grid.getColumnHeader(0) if grid.nRows > 0 and grid.nColumns > 0 else None
    heard = {
        "name": table.name,
        "rows": grid.nRows,
        "columns": grid.nColumns,
        "titles": [grid.getColumnDescription(column) for column in range(grid.nColumns)],
        "header": header.name if header is not None else None,
        "cells": {str(row): grid.getAccessibleAt(row, 0).name for row in rows},
        "selectedRows": selected,
        "selectedCellsSelected": [
            grid.getAccessibleAt(row, 0).getState().contains(pyatspi.STATE_SELECTED) for row in selected
        ],
    }
    print(json.dumps(heard, ensure_ascii=False))
    return 0


if __name__ == "__main__":
    sys.exit(main())
