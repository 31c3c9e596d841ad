-- The version of this schema: a row for each time `zorvit db init` made the database or
-- `zorvit db upgrade` brought it to a newer version, the highest being the database's version.
-- A program that finds a lower one than its own says that the database wants the upgrade. The
-- version has a table of its own rather than a number in system_strings: the applications
-- sharing the database own the numbers there, and this keeps the dates of the upgrades too.
CREATE TABLE schema_version (
  sv_version  INTEGER NOT NULL,
  sv_date     DATE,                 -- when (date and time)
  sv_program  VARCHAR(50),          -- the version of the program that wrote the row
  CONSTRAINT pk_schema_version PRIMARY KEY (sv_version)
);
