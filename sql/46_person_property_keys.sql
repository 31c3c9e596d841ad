-- The identity of each person and property the import stored: a person by its identity
-- number, a property by its settlement and cadastral groups. Two workstations that store the
-- same new tenant or property at the same moment both look it up in their row's snapshot and
-- find nothing; the primary key here lets only one of them store it. The second insert of a
-- key waits for the transaction holding it and fails when that one commits: that row is rolled
-- back and tried again, and then finds the stored person or property. The import claims a key
-- in the row's own transaction, so a refused row leaves no key behind.
--
-- The guard lives in tables of its own rather than in unique indexes on persons and imot:
-- other applications write those tables without knowing of it, and a register may already
-- hold two persons with one number (the look-up then takes the first).
CREATE TABLE person_keys (
  pk_egn    VARCHAR(50) NOT NULL,   -- persons.per_egn as the import stored it
  pk_perid  INTEGER NOT NULL,       -- the person (persons.per_id)
  CONSTRAINT pk_person_keys PRIMARY KEY (pk_egn)
);
CREATE INDEX ix_person_keys_perid ON person_keys (pk_perid);

CREATE TABLE property_keys (
  pk_key   VARCHAR(200) NOT NULL,   -- settlement and cadastral groups, see PropertyKey()
  pk_imid  INTEGER NOT NULL,        -- the property (imot.im_id)
  CONSTRAINT pk_property_keys PRIMARY KEY (pk_key)
);
CREATE INDEX ix_property_keys_imid ON property_keys (pk_imid);

SET TERM ^ ;

-- A person deleted or given another number, and a property deleted or given another
-- settlement or cadastral identifier, free their keys: importing the same number or
-- identifier again is then judged by what persons and imot hold.
CREATE TRIGGER persons_aud_person_keys FOR persons
  ACTIVE AFTER UPDATE OR DELETE POSITION 0 AS
BEGIN
  IF (DELETING OR NEW.per_egn IS DISTINCT FROM OLD.per_egn) THEN
    DELETE FROM person_keys WHERE pk_perid = OLD.per_id;
END^

CREATE TRIGGER imot_aud_property_keys FOR imot
  ACTIVE AFTER UPDATE OR DELETE POSITION 0 AS
BEGIN
  IF (DELETING OR NEW.im_nm IS DISTINCT FROM OLD.im_nm
      OR NEW.im_nmas IS DISTINCT FROM OLD.im_nmas
      OR NEW.im_npar IS DISTINCT FROM OLD.im_npar
      OR NEW.im_nn IS DISTINCT FROM OLD.im_nn
      OR NEW.im_ni IS DISTINCT FROM OLD.im_ni) THEN
    DELETE FROM property_keys WHERE pk_imid = OLD.im_id;
END^

SET TERM ; ^
