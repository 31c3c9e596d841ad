-- The identity each stored contract had in the workbook row it came from: type, number, date,
-- the tenant's identity number and the property. Its primary key lets two workstations that
-- import the same row at the same moment store it once: the second insert of a key waits for
-- the transaction holding it and fails when that one commits. The import claims the key in the
-- row's own transaction, so a refused row leaves no key behind.
CREATE TABLE contract_keys (
  ck_key    VARCHAR(1000) NOT NULL,
  ck_docid  INTEGER,                -- the contract (documents.doc_id)
  CONSTRAINT pk_contract_keys PRIMARY KEY (ck_key)
);
CREATE INDEX ix_contract_keys_docid ON contract_keys (ck_docid);

SET TERM ^ ;

-- A contract deleted, or given another type, number, date, tenant or property, frees its key:
-- importing its row again is then judged by what the contract table holds, as without the key.
CREATE TRIGGER documents_aud_contract_keys FOR documents
  ACTIVE AFTER UPDATE OR DELETE POSITION 0 AS
BEGIN
  IF (DELETING OR NEW.doc_type IS DISTINCT FROM OLD.doc_type
      OR NEW.doc_nomtxt IS DISTINCT FROM OLD.doc_nomtxt
      OR NEW.doc_data IS DISTINCT FROM OLD.doc_data
      OR NEW.da_if1 IS DISTINCT FROM OLD.da_if1
      OR NEW.doc_imotid IS DISTINCT FROM OLD.doc_imotid) THEN
    DELETE FROM contract_keys WHERE ck_docid = OLD.doc_id;
END^

SET TERM ; ^
