-- The official registers of municipalities and settlements (read only; filled when the
-- database is created). Names are compared upper-cased, so they use a collation whose UPPER
-- covers Cyrillic.

CREATE TABLE obsh_tbl (
  ob_name  VARCHAR(100) COLLATE PXW_CYRL,
  eknm     VARCHAR(10),
  ob_code  VARCHAR(10)
);
CREATE INDEX ix_obsh_tbl_upper_name ON obsh_tbl COMPUTED BY (UPPER(ob_name));

CREATE TABLE nm_tbl (
  ob_code  VARCHAR(10),
  eknm     VARCHAR(10),
  nm_name  VARCHAR(100) COLLATE PXW_CYRL
);
CREATE INDEX ix_nm_tbl_ob_code ON nm_tbl (ob_code);
