-- The records' SQLite schema at version 2, as the program of that version
-- made it. A copy kept as it was: never edited, never made again from today's migrations.
CREATE TABLE schema_version (version INTEGER NOT NULL);
INSERT INTO schema_version VALUES (2);
CREATE TABLE fixed_codes (code INTEGER PRIMARY KEY, block_first INTEGER NOT NULL, state TEXT NOT NULL, station TEXT NOT NULL, unit TEXT NOT NULL, serial TEXT NOT NULL, reserved_at TEXT NOT NULL);
CREATE TABLE code_cursors (first_code INTEGER NOT NULL, plus INTEGER NOT NULL, next_code INTEGER NOT NULL, PRIMARY KEY (first_code, plus));
