-- Every user who may log in works on every table and generator of the database: the users of
-- app_users attach under their own names (a server checks their passwords), and the database
-- engine checks each statement against that name. Runs last, so it covers every table the
-- scripts before it created.

SET TERM ^ ;
EXECUTE BLOCK AS
  DECLARE object_name VARCHAR(63);
BEGIN
  FOR SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS
      WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :object_name DO
    EXECUTE STATEMENT 'GRANT ALL ON ' || object_name || ' TO PUBLIC';
  FOR SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS
      WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 INTO :object_name DO
    EXECUTE STATEMENT 'GRANT USAGE ON GENERATOR ' || object_name || ' TO PUBLIC';
END^
SET TERM ; ^
