-- The schema of the program's first version (the property tables, registers and triggers,
-- before grants, unique classifier indexes, the annex CHECK and the key tables), as its
-- sql/ scripts made it, one after another: the upgrade tests make a database of it.

-- sql/00_settings.sql
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

-- The user of the demonstration set-up.
INSERT INTO app_users (user_id, user_name) VALUES (1, 'demo');

-- sql/10_registers.sql
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

-- sql/20_classifiers.sql
-- Classifiers that the import looks up by upper-cased text and extends with MAX(id) + 1.
-- Every looked-up text has a collation whose UPPER covers Cyrillic and an index on its
-- upper-cased form.

CREATE TABLE obsh_kl (
  ob_id    INTEGER NOT NULL,
  ob_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_obsh_kl PRIMARY KEY (ob_id)
);
CREATE INDEX ix_obsh_kl_upper_text ON obsh_kl COMPUTED BY (UPPER(ob_text));

CREATE TABLE nm_kl (
  nm_id      INTEGER NOT NULL,
  nm_text    VARCHAR(250) COLLATE PXW_CYRL,
  nm_obid    INTEGER,
  nm_obtext  VARCHAR(250) COLLATE PXW_CYRL,
  nm_eknm    VARCHAR(10),
  CONSTRAINT pk_nm_kl PRIMARY KEY (nm_id)
);
CREATE INDEX ix_nm_kl_upper_text ON nm_kl COMPUTED BY (UPPER(nm_text));

CREATE TABLE me_kl (
  me_id    INTEGER NOT NULL,
  me_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_me_kl PRIMARY KEY (me_id)
);
CREATE INDEX ix_me_kl_upper_text ON me_kl COMPUTED BY (UPPER(me_text));

CREATE TABLE jk_kl (
  jk_id    INTEGER NOT NULL,
  jk_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_jk_kl PRIMARY KEY (jk_id)
);
CREATE INDEX ix_jk_kl_upper_text ON jk_kl COMPUTED BY (UPPER(jk_text));

CREATE TABLE ul_kl (
  ul_id    INTEGER NOT NULL,
  ul_text  VARCHAR(250) COLLATE PXW_CYRL,
  CONSTRAINT pk_ul_kl PRIMARY KEY (ul_id)
);
CREATE INDEX ix_ul_kl_upper_text ON ul_kl COMPUTED BY (UPPER(ul_text));

-- Object types per application (ot_app).
CREATE TABLE objtype_kl (
  ot_id    INTEGER NOT NULL,
  ot_text  VARCHAR(250) COLLATE PXW_CYRL,
  ot_app   INTEGER,
  CONSTRAINT pk_objtype_kl PRIMARY KEY (ot_id)
);
CREATE INDEX ix_objtype_kl_upper_text ON objtype_kl COMPUTED BY (UPPER(ot_text));

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

-- sql/30_properties_persons.sql
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

-- sql/40_documents.sql
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
  CONSTRAINT pk_anecs PRIMARY KEY (an_id, an_num)
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

-- sql/50_payments.sql
-- Payments on contracts, their split over rent periods, and the invoices waiting for payment.

-- p_num 0 is a contract's initial payment. p_flag names the invoice (invoices.in_id) a
-- payment belongs to; p_status 1 is a regular payment, 3 a reversal of p_masternum.
CREATE TABLE payment (
  p_id            INTEGER NOT NULL,   -- the contract (documents.doc_id)
  p_num           INTEGER NOT NULL,
  p_data          DATE,
  p_val           DOUBLE PRECISION,
  p_lixva         DOUBLE PRECISION,
  p_dds           DOUBLE PRECISION,
  p_ldate         DATE,
  p_carry         DOUBLE PRECISION,
  p_factor        DOUBLE PRECISION,
  p_dtstart       DATE,
  p_flag          INTEGER,
  p_inctype       INTEGER,
  p_coment        VARCHAR(250),
  p_payway        VARCHAR(1),
  p_userid        INTEGER,
  p_operatorname  VARCHAR(100),
  p_paytype       INTEGER,
  p_masternum     INTEGER,
  p_status        INTEGER,
  p_wpid          INTEGER,
  CONSTRAINT pk_payment PRIMARY KEY (p_id, p_num)
);

-- The part of payment pd_num of contract pd_id meant for one period.
CREATE TABLE paydetails (
  pd_id     INTEGER NOT NULL,
  pd_num    INTEGER NOT NULL,
  pd_year   INTEGER,
  pd_month  INTEGER,
  pd_sum    DOUBLE PRECISION
);
CREATE INDEX ix_paydetails_id_num ON paydetails (pd_id, pd_num);

CREATE TABLE invoices (
  in_id             INTEGER NOT NULL,
  in_invoicenum     DOUBLE PRECISION,
  in_payclearsum    DOUBLE PRECISION,
  in_paydds         DOUBLE PRECISION,
  in_factor         DOUBLE PRECISION,
  in_secondinvtype  VARCHAR(1),
  in_waitpay        INTEGER,
  CONSTRAINT pk_invoices PRIMARY KEY (in_id)
);

CREATE TABLE waitpayments (
  wp_id      INTEGER NOT NULL,
  wp_docid   INTEGER,
  wp_year    INTEGER,
  wp_month   INTEGER,
  wp_inid    INTEGER,               -- the invoice (invoices.in_id)
  wp_gensum  DOUBLE PRECISION,
  wp_gendds  DOUBLE PRECISION,
  wp_factor  DOUBLE PRECISION,
  wp_date    DATE,
  wp_state   INTEGER,
  CONSTRAINT pk_waitpayments PRIMARY KEY (wp_id)
);
CREATE INDEX ix_waitpayments_docid ON waitpayments (wp_docid);

-- sql/60_state.sql
/* Tables the contract-state computation reads: base-rate periods for late-payment interest,
   VAT rates by annex VAT code, and currency factors by contract currency code. */

/* Statutory base-rate periods; each starts the day after the previous one ends. */
CREATE TABLE BASERATES (
  BR_FIRSTDAY   DATE NOT NULL PRIMARY KEY,
  BR_LASTDAY    DATE NOT NULL,
  BR_RATE       DOUBLE PRECISION DEFAULT 0 NOT NULL,  /* annual rate in percent */
  BR_DAILY      DOUBLE PRECISION DEFAULT 0 NOT NULL,  /* fraction of the amount per day */
  BR_ISSUED     DATE
);

/* VAT rate in percent for an annex's AN_DDS code. */
CREATE TABLE VATRATES (
  VR_CODE       SMALLINT NOT NULL PRIMARY KEY,
  VR_RATE       DOUBLE PRECISION DEFAULT 0 NOT NULL
);

/* Factor converting an amount in the contract's currency (DA_VALUTA) to leva; 0 when the
   currency has no fixed factor and none has been set. */
CREATE TABLE CURRENCYFACTORS (
  CF_CODE       SMALLINT NOT NULL PRIMARY KEY,
  CF_NAME       VARCHAR(3) NOT NULL,
  CF_FACTOR     DOUBLE PRECISION DEFAULT 0 NOT NULL
);

INSERT INTO VATRATES (VR_CODE, VR_RATE) VALUES (1200, 0);
INSERT INTO VATRATES (VR_CODE, VR_RATE) VALUES (1201, 20);

INSERT INTO CURRENCYFACTORS (CF_CODE, CF_NAME, CF_FACTOR) VALUES (0, 'BGN', 1);
INSERT INTO CURRENCYFACTORS (CF_CODE, CF_NAME, CF_FACTOR) VALUES (1, 'EUR', 1.95583);
INSERT INTO CURRENCYFACTORS (CF_CODE, CF_NAME, CF_FACTOR) VALUES (2, 'USD', 0);
