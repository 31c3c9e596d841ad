-- Stored settings shared by the applications that work on this database, and the users who
-- may log in. The property database is created in SQL dialect 1 with the default character
-- set WIN1251; DATE columns hold a date and a time of day.

CREATE TABLE system_strings (
  sys_id   INTEGER NOT NULL,
  sys_str  VARCHAR(1000),
  CONSTRAINT pk_system_strings PRIMARY KEY (sys_id)
);

CREATE TABLE app_users (
  user_id    INTEGER NOT NULL,
  user_name  VARCHAR(50) NOT NULL,
  CONSTRAINT pk_app_users PRIMARY KEY (user_id),
  CONSTRAINT uq_app_users_name UNIQUE (user_name)
);

-- The clerks: `zorvit user add` adds them (and `zorvit db init --demo` the user demo).
