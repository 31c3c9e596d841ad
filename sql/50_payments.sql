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
