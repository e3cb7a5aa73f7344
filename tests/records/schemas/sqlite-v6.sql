-- The records' SQLite schema at version 6, as the program of that version
-- made it. A copy kept as it was: never edited, never made again from today's migrations.
CREATE TABLE schema_version (version INTEGER NOT NULL);
INSERT INTO schema_version VALUES (6);
CREATE TABLE fixed_codes (code INTEGER PRIMARY KEY, block_first INTEGER NOT NULL, state TEXT NOT NULL, station TEXT NOT NULL, unit TEXT NOT NULL, serial TEXT NOT NULL, reserved_at TEXT NOT NULL);
CREATE TABLE code_cursors (first_code INTEGER NOT NULL, plus INTEGER NOT NULL, next_code INTEGER NOT NULL, PRIMARY KEY (first_code, plus));
CREATE TABLE backups (id INTEGER PRIMARY KEY, station TEXT NOT NULL, file TEXT NOT NULL, time_ms BIGINT NOT NULL, time_utc TEXT NOT NULL, command TEXT NOT NULL, result TEXT NOT NULL, user_name TEXT NOT NULL, product INTEGER NOT NULL, product_name TEXT NOT NULL, version TEXT NOT NULL, serial TEXT NOT NULL, serial_key TEXT NOT NULL, radio_id TEXT NOT NULL, device_key TEXT NOT NULL, image BLOB NOT NULL, UNIQUE (station, file));
CREATE INDEX backups_device ON backups (station, device_key, time_ms);
CREATE INDEX backups_serial ON backups (serial_key, time_ms);
CREATE INDEX backups_time ON backups (station, time_ms);
CREATE TABLE devices (device_key TEXT PRIMARY KEY, product INTEGER NOT NULL, product_name TEXT NOT NULL, version TEXT NOT NULL, serial TEXT NOT NULL, serial_key TEXT NOT NULL, radio_id TEXT NOT NULL, last_seen_ms BIGINT NOT NULL, station TEXT NOT NULL);
CREATE TABLE stations (station TEXT PRIMARY KEY, pruned_ms BIGINT NOT NULL);
CREATE TABLE production_runs (id INTEGER PRIMARY KEY, station TEXT NOT NULL, user_name TEXT NOT NULL, started_utc TEXT NOT NULL, file TEXT NOT NULL, product TEXT NOT NULL);
CREATE TABLE production_rows (run_id BIGINT NOT NULL REFERENCES production_runs (id), time_utc TEXT NOT NULL, station TEXT NOT NULL, unit TEXT NOT NULL, serial TEXT NOT NULL, product TEXT NOT NULL, version TEXT NOT NULL, radio_id TEXT NOT NULL, codes TEXT NOT NULL, result TEXT NOT NULL, message TEXT NOT NULL, duration_ms BIGINT NOT NULL);
CREATE INDEX production_rows_serial ON production_rows (serial);
CREATE INDEX backups_recent ON backups (time_ms, id);
ALTER TABLE fixed_codes ADD COLUMN product TEXT NOT NULL DEFAULT '';
ALTER TABLE devices ADD COLUMN replaced_by TEXT NOT NULL DEFAULT '';
ALTER TABLE devices ADD COLUMN replaced_ms BIGINT NOT NULL DEFAULT 0;
