-- Contracts, their annexes and monthly rent schedule, and the links to scanned contract files.

-- One contract (doc_type 1002 for a monthly rent contract). doc_id comes from the trigger
-- below. Flags are one letter, "T" or "F"; doc_podsad is "F", "T", "S" or "B".
CREATE TABLE documents (
  doc_id            INTEGER NOT NULL,
  doc_type          INTEGER,
  doc_app           INTEGER,
  doc_nomtxt        VARCHAR(50),
  doc_data          DATE,
  doc_datastart     DATE,
  doc_datastop      DATE,
  doc_imotid        INTEGER,          -- the property (imot)
  doc_price         DOUBLE PRECISION,
  doc_addprice      DOUBLE PRECISION,
  doc_area          DOUBLE PRECISION,
  doc_coment        VARCHAR(1000),
  doc_coment2       VARCHAR(1000),    -- purpose of use
  doc_podsad        VARCHAR(1),
  doc_addnum        VARCHAR(50),
  doc_addtext       VARCHAR(1000),
  doc_payday        INTEGER,          -- pay-day code: day of month and month shift
  doc_free          VARCHAR(1),
  doc_userid        INTEGER,
  doc_typetext      VARCHAR(100),
  doc_handrentinfo  VARCHAR(1),
  doc_valuecalcid   INTEGER,
  doc_initsum       DOUBLE PRECISION,
  doc_smetinitsum   DOUBLE PRECISION,
  doc_lihvastop     DATE,             -- interest is computed no later than this date
  doc_leaddocid     INTEGER DEFAULT -1,
  da_rf1            INTEGER,          -- rent type (renttypes)
  da_rf2            DOUBLE PRECISION, -- interest limit
  da_rf3            DOUBLE PRECISION, -- termination date as a day number, 0 when none
  da_sf2            VARCHAR(250),
  da_sf6            VARCHAR(250),
  da_objtype        VARCHAR(250),
  da_objname        VARCHAR(250),
  da_dds            INTEGER,          -- VAT code
  da_valuta         INTEGER,          -- currency code
  da_ltype          INTEGER,          -- interest kind
  da_lpercent       DOUBLE PRECISION,
  da_if1            INTEGER,          -- the tenant (persons)
  da_if2            INTEGER,          -- term in 30-day months
  da_if4            INTEGER,
  CONSTRAINT pk_documents PRIMARY KEY (doc_id)
);
CREATE DESCENDING INDEX ix_documents_id_desc ON documents (doc_id);
CREATE INDEX ix_documents_nomtxt ON documents (doc_nomtxt);

CREATE GENERATOR gen_documents_id;

-- The terms of a contract over time: annex 1 carries the contract's own terms, later annexes
-- change price or term from an_dtstart on. an_dtstop is the last day an annex is in force.
CREATE TABLE anecs (
  an_id        INTEGER NOT NULL,      -- the contract (documents.doc_id)
  an_num       INTEGER NOT NULL,
  an_data      DATE,
  an_price     DOUBLE PRECISION,
  an_addprice  DOUBLE PRECISION,
  an_dtstart   DATE,
  an_dtstop    DATE,
  an_reason    VARCHAR(1000),
  an_coment    VARCHAR(1000),
  an_ltype     INTEGER,
  an_lpercent  DOUBLE PRECISION,
  an_lmax      DOUBLE PRECISION,
  an_dds       INTEGER,
  an_valuta    INTEGER,
  an_payday    INTEGER,
  an_freedate  DATE,
  CONSTRAINT pk_anecs PRIMARY KEY (an_id, an_num),
  -- No annex is in force for a period that ends before it begins; this also refuses an annex
  -- that starts on or before the one in force before it (the trigger below would end that one
  -- before its start).
  CONSTRAINT ck_anecs_period CHECK (an_dtstop IS NULL OR an_dtstart IS NULL
    OR an_dtstop >= an_dtstart)
);

-- The monthly rent schedule: one row per contract and period (year, month).
CREATE TABLE rentsinfo (
  ri_docid      INTEGER NOT NULL,
  ri_year       INTEGER NOT NULL,
  ri_month      INTEGER NOT NULL,
  ri_days       INTEGER,
  ri_price      DOUBLE PRECISION,
  ri_dtstart    DATE,
  ri_carried    DOUBLE PRECISION,
  ri_smetprice  DOUBLE PRECISION,
  ri_paiddays   INTEGER DEFAULT 0,
  ri_autogenid  INTEGER,
  CONSTRAINT pk_rentsinfo PRIMARY KEY (ri_docid, ri_year, ri_month)
);

CREATE GENERATOR gen_rentsinfo_autogenid;

-- Links from a property to its scanned documents on the file server.
CREATE TABLE storage (
  st_id        INTEGER NOT NULL,      -- the property (imot.im_id)
  st_num       INTEGER NOT NULL,
  st_doctype   VARCHAR(250),
  st_filename  VARCHAR(250),
  st_datain    DATE,
  st_ftpname   VARCHAR(250),
  CONSTRAINT pk_storage PRIMARY KEY (st_id, st_num)
);

SET TERM ^ ;

CREATE TRIGGER documents_bi FOR documents ACTIVE BEFORE INSERT POSITION 0 AS
  DECLARE VARIABLE max_id INTEGER;
BEGIN
  IF (NEW.doc_id IS NULL) THEN
  BEGIN
    NEW.doc_id = GEN_ID(gen_documents_id, 1);
    SELECT MAX(doc_id) FROM documents INTO :max_id;
    IF (max_id >= NEW.doc_id) THEN
      NEW.doc_id = GEN_ID(gen_documents_id, max_id - NEW.doc_id + 1);
  END
END^

-- An annex inserted without a stop date runs to the contract's end, and the annex in force
-- before it (the highest-numbered one below it) stops the day before it starts. An annex
-- inserted with its stop date changes nothing else.
CREATE TRIGGER anecs_bi FOR anecs ACTIVE BEFORE INSERT POSITION 0 AS
  DECLARE VARIABLE previous_num INTEGER;
BEGIN
  IF (NEW.an_dtstop IS NULL) THEN
  BEGIN
    SELECT doc_datastop FROM documents WHERE doc_id = NEW.an_id INTO NEW.an_dtstop;
    SELECT MAX(an_num) FROM anecs WHERE an_id = NEW.an_id AND an_num < NEW.an_num
      INTO :previous_num;
    IF (previous_num IS NOT NULL AND NEW.an_dtstart IS NOT NULL) THEN
      UPDATE anecs SET an_dtstop = NEW.an_dtstart - 1
        WHERE an_id = NEW.an_id AND an_num = :previous_num;
  END
END^

CREATE TRIGGER rentsinfo_bi FOR rentsinfo ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ri_autogenid IS NULL) THEN
    NEW.ri_autogenid = GEN_ID(gen_rentsinfo_autogenid, 1);
END^

SET TERM ; ^
