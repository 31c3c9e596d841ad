-- The history of the import runs: one row per real run (a dry run leaves none), written when
-- the run starts and completed when it ends, so a run whose program was killed stays without
-- an end. What a run stored is listed in import_run_items, so that it can be shown and undone
-- without a column added to the tables it stored into.

CREATE TABLE import_runs (
  run_id            INTEGER NOT NULL,
  run_userid        INTEGER,            -- app_users.user_id of who imported
  run_username      VARCHAR(100),
  run_host          VARCHAR(255),       -- the workstation's host name
  run_started       DATE NOT NULL,
  run_ended         DATE,               -- NULL while running, and for a run that was killed
  run_workbook      VARCHAR(1000),      -- the workbook's path as the run opened it
  run_size          DOUBLE PRECISION,   -- its size in bytes
  run_sha256        VARCHAR(64),
  run_municipality  VARCHAR(250),
  run_firstrow      INTEGER,
  run_outcome       VARCHAR(20),        -- finished, interrupted, connection-lost, ...
  run_rowsread      INTEGER,
  run_stored        INTEGER,            -- contracts stored
  run_skipped       INTEGER,            -- contracts stored already
  run_refused       INTEGER,
  run_busy          INTEGER,            -- rows left for another try (several workstations)
  run_annexes       INTEGER,
  run_annexesskipped INTEGER,
  run_annexesrefused INTEGER,
  run_entries       INTEGER,            -- classifier entries added
  run_log           VARCHAR(1000),      -- the log file's path, when one was written
  run_undone        DATE,               -- when the run was undone
  run_undoneby      INTEGER,
  run_undonebyname  VARCHAR(100),
  run_undonehost    VARCHAR(255),
  CONSTRAINT pk_import_runs PRIMARY KEY (run_id)
);

CREATE GENERATOR gen_import_runs_id;

-- One row for each thing a run stored. it_kind: 1 a contract (with its annexes, schedule and
-- characteristic rows), 2 an annex added to a contract stored before the run (it_id the
-- contract, it_num the annex, and the values the annex changed: the contract's stop and term,
-- the previous annex's stop), 3 a link to the scanned contract (it_id the property, it_num
-- the link's number), 4 a person, 5 a property, 6 a classifier entry (it_table names it).
CREATE TABLE import_run_items (
  it_seq        INTEGER NOT NULL,       -- the order things were stored in
  it_run        INTEGER NOT NULL,
  it_kind       SMALLINT NOT NULL,
  it_id         INTEGER NOT NULL,
  it_num        INTEGER,
  it_table      VARCHAR(31),
  it_oldstop    DATE,
  it_oldterm    INTEGER,
  it_oldprevstop DATE,
  CONSTRAINT pk_import_run_items PRIMARY KEY (it_seq)
);
CREATE INDEX ix_import_run_items_run ON import_run_items (it_run);
CREATE INDEX ix_import_run_items_kind_id ON import_run_items (it_kind, it_id);

CREATE GENERATOR gen_import_run_items_seq;
