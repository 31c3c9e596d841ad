-- Classifiers that the import looks up by upper-cased text and extends with MAX(id) + 1.
-- Every looked-up text has a collation whose UPPER covers Cyrillic and a unique index on its
-- upper-cased form (with the application where the look-up names one): two workstations
-- adding the same text at once store it once, the second insert fails and looks again.

CREATE TABLE obsh_kl (
  ob_id    INTEGER NOT NULL,
  ob_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_obsh_kl PRIMARY KEY (ob_id)
);
CREATE UNIQUE INDEX ux_obsh_kl_upper_text ON obsh_kl COMPUTED BY (UPPER(ob_text));

CREATE TABLE nm_kl (
  nm_id      INTEGER NOT NULL,
  nm_text    VARCHAR(250) COLLATE PXW_CYRL,
  nm_obid    INTEGER,
  nm_obtext  VARCHAR(250) COLLATE PXW_CYRL,
  nm_eknm    VARCHAR(10),
  CONSTRAINT pk_nm_kl PRIMARY KEY (nm_id)
);
CREATE UNIQUE INDEX ux_nm_kl_upper_text ON nm_kl COMPUTED BY (UPPER(nm_text));

CREATE TABLE me_kl (
  me_id    INTEGER NOT NULL,
  me_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_me_kl PRIMARY KEY (me_id)
);
CREATE UNIQUE INDEX ux_me_kl_upper_text ON me_kl COMPUTED BY (UPPER(me_text));

CREATE TABLE jk_kl (
  jk_id    INTEGER NOT NULL,
  jk_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_jk_kl PRIMARY KEY (jk_id)
);
CREATE UNIQUE INDEX ux_jk_kl_upper_text ON jk_kl COMPUTED BY (UPPER(jk_text));

CREATE TABLE ul_kl (
  ul_id    INTEGER NOT NULL,
  ul_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_ul_kl PRIMARY KEY (ul_id)
);
CREATE UNIQUE INDEX ux_ul_kl_upper_text ON ul_kl COMPUTED BY (UPPER(ul_text));

-- Object types per application (ot_app).
CREATE TABLE objtype_kl (
  ot_id    INTEGER NOT NULL,
  ot_text  VARCHAR(250) COLLATE PXW_CYRL,
  ot_app   INTEGER,
  CONSTRAINT pk_objtype_kl PRIMARY KEY (ot_id)
);
CREATE INDEX ix_objtype_kl_upper_text ON objtype_kl COMPUTED BY (UPPER(ot_text));
CREATE UNIQUE INDEX ux_objtype_kl_app_text ON objtype_kl
  COMPUTED BY (ot_app || '|' || UPPER(ot_text));

-- Rent types per application (rt_app) with the terms a new contract of the type starts from.
-- rt_requirefields is a bit mask; rt_smet is "T" or "F".
CREATE TABLE renttypes (
  rt_id             INTEGER NOT NULL,
  rt_text           VARCHAR(250) COLLATE PXW_CYRL,
  rt_app            INTEGER,
  rt_type           INTEGER,
  rt_srok           INTEGER,
  rt_dds            INTEGER,
  rt_valuta         INTEGER,
  rt_requirefields  INTEGER,
  rt_payday         INTEGER,
  rt_ltype          INTEGER,
  rt_lmax           DOUBLE PRECISION,
  rt_lpercent       DOUBLE PRECISION,
  rt_descr          VARCHAR(250),
  rt_za             VARCHAR(250),
  rt_osnovanie      VARCHAR(250),
  rt_objtype        INTEGER,
  rt_templtype      INTEGER,
  rt_smet           VARCHAR(1),
  rt_numkind        INTEGER,
  rt_sgid           INTEGER,
  CONSTRAINT pk_renttypes PRIMARY KEY (rt_id)
);
CREATE UNIQUE INDEX ux_renttypes_app_text ON renttypes
  COMPUTED BY (rt_app || '|' || UPPER(rt_text));
