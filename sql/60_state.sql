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
