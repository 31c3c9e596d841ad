-- Rented properties, persons and firms, and the characteristics a contract gives values to.
-- Ids of Imot and PERSONS come from the triggers of this file: an insert without the id gets
-- one greater than every id already in the table.

CREATE TABLE imot (
  im_id          INTEGER NOT NULL,
  im_nm          INTEGER,           -- settlement (nm_kl)
  im_nmas        INTEGER,           -- cadastral identifier: second group
  im_npar        VARCHAR(50),       -- cadastral identifier: third group, as text
  im_nn          INTEGER,
  im_ni          INTEGER,
  im_rkv         VARCHAR(50),
  im_rpar        VARCHAR(50),
  im_ntp         INTEGER,
  im_vtp         INTEGER,
  im_mestnost    INTEGER,           -- locality (me_kl)
  im_jk          INTEGER,           -- residential quarter (jk_kl)
  im_nulic       INTEGER,           -- street (ul_kl)
  im_zuttype     VARCHAR(50),
  im_address     VARCHAR(250),
  im_area        DOUBLE PRECISION,
  im_type        INTEGER,
  im_addressnom  VARCHAR(100),
  im_desc        VARCHAR(1000),
  im_borders     VARCHAR(1000),
  im_zone        INTEGER,
  im_app         INTEGER,
  CONSTRAINT pk_imot PRIMARY KEY (im_id)
);
CREATE DESCENDING INDEX ix_imot_id_desc ON imot (im_id);
CREATE INDEX ix_imot_npar ON imot (im_npar);

CREATE GENERATOR gen_imot_id;

-- Units of an object and the person each is assigned to.
CREATE TABLE obunits (
  unit_id     INTEGER NOT NULL,
  unit_imid   INTEGER,
  unit_perid  INTEGER,
  unit_text   VARCHAR(250),
  CONSTRAINT pk_obunits PRIMARY KEY (unit_id)
);
CREATE INDEX ix_obunits_perid ON obunits (unit_perid);

-- Citizens (per_flag "T") and firms ("F"); per_mol is the person who represents a firm.
CREATE TABLE persons (
  per_id           INTEGER NOT NULL,
  per_name         VARCHAR(250),
  per_egn          VARCHAR(50),
  per_dann         VARCHAR(50),
  per_addr         VARCHAR(250),
  per_nm           VARCHAR(100),
  per_mol          INTEGER,
  per_indds        VARCHAR(50),
  per_addr_coresp  VARCHAR(250),
  per_tdnap        VARCHAR(100),
  per_tdnap_addr   VARCHAR(250),
  per_flag         VARCHAR(1),
  per_firmdelo     VARCHAR(100),
  per_telefon      VARCHAR(50),
  per_pdata        VARCHAR(100),
  per_datereg      DATE,
  CONSTRAINT pk_persons PRIMARY KEY (per_id)
);
CREATE DESCENDING INDEX ix_persons_id_desc ON persons (per_id);
CREATE INDEX ix_persons_egn ON persons (per_egn);

CREATE GENERATOR gen_persons_id;

-- Characteristics defined per application, and the values one contract gives them.
CREATE TABLE characteristics (
  ch_id            INTEGER NOT NULL,
  ch_app           INTEGER,
  ch_varname       VARCHAR(50),
  ch_value         VARCHAR(250),
  ch_no_use_value  VARCHAR(250),
  ch_text          VARCHAR(250),
  CONSTRAINT pk_characteristics PRIMARY KEY (ch_id)
);

-- Rows are inserted without a column list: the column order is part of the interface.
CREATE TABLE characteristics_doc (
  cd_docid         INTEGER NOT NULL,
  cd_chid          INTEGER NOT NULL,
  cd_value         VARCHAR(250),
  cd_no_use_value  VARCHAR(250),
  cd_checked       VARCHAR(1)
);
CREATE INDEX ix_characteristics_doc_docid ON characteristics_doc (cd_docid);

SET TERM ^ ;

-- A new id is one past the generator, and past the greatest id already stored, so that rows
-- inserted with an explicit id never make the generator hand out a smaller one.
CREATE TRIGGER imot_bi FOR imot ACTIVE BEFORE INSERT POSITION 0 AS
  DECLARE VARIABLE max_id INTEGER;
BEGIN
  IF (NEW.im_id IS NULL) THEN
  BEGIN
    NEW.im_id = GEN_ID(gen_imot_id, 1);
    SELECT MAX(im_id) FROM imot INTO :max_id;
    IF (max_id >= NEW.im_id) THEN
      NEW.im_id = GEN_ID(gen_imot_id, max_id - NEW.im_id + 1);
  END
END^

CREATE TRIGGER persons_bi FOR persons ACTIVE BEFORE INSERT POSITION 0 AS
  DECLARE VARIABLE max_id INTEGER;
BEGIN
  IF (NEW.per_id IS NULL) THEN
  BEGIN
    NEW.per_id = GEN_ID(gen_persons_id, 1);
    SELECT MAX(per_id) FROM persons INTO :max_id;
    IF (max_id >= NEW.per_id) THEN
      NEW.per_id = GEN_ID(gen_persons_id, max_id - NEW.per_id + 1);
  END
END^

SET TERM ; ^
