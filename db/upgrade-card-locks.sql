/*
  Adds the shop-floor server's card locks (table BLOQUEIO_FICHA, rows 0 to 4095) to a
  factory database made before they existed. The server locks a card's slot before it
  checks and records the card; without the table every card is refused with the
  database's "Table unknown" error.

  Safe to run more than once and while servers are running (they may refuse cards until
  it has committed):
    isql-fb -q -ch WIN1252 -bail -i db/upgrade-card-locks.sql host/port:/path/factory.fdb
*/

SET TERM ^ ;

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'BLOQUEIO_FICHA')) THEN
    EXECUTE STATEMENT 'CREATE TABLE BLOQUEIO_FICHA (ID_BF INTEGER NOT NULL, '
                      || 'CONSTRAINT PK_BLOQUEIO_FICHA PRIMARY KEY (ID_BF))';
END^

SET TERM ; ^
COMMIT;

SET TERM ^ ;

EXECUTE BLOCK AS
  DECLARE SLOT INTEGER = 0;
BEGIN
  WHILE (SLOT < 4096) DO
  BEGIN
    IF (NOT EXISTS (SELECT 1 FROM BLOQUEIO_FICHA WHERE ID_BF = :SLOT)) THEN
      INSERT INTO BLOQUEIO_FICHA (ID_BF) VALUES (:SLOT);
    SLOT = SLOT + 1;
  END
END^

SET TERM ; ^
COMMIT;
