// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Prints every table of a Jet file as JSON, read by the mdb-reader package:
// {"table": {"columns": [...], "rows": [[...], ...]}, ...}
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const reader = new MDBReader(readFileSync(process.argv[2]));
const out = {};
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    const columns = table.getColumnNames();
    out[name] = { columns, rows: table.getData().map((row) => columns.map((c) => row[c])) };
}
process.stdout.write(JSON.stringify(out));
