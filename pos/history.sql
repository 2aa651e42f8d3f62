/* A year of closed shifts behind the current one, as a point of sale that has run for a while
   has them: @LINES@ order lines (replaced by pos/create-db --history) in 365 shifts, five lines
   an order. The lines' states are what kitchens leave behind: 89.8 % ready, 10 % never marked
   ready and stuck at shown, and a few, 0.2 %, still new in section 7, which no monitor serves.
   A tenth of the dishes have no cooking time (half of those null), one in twenty got a serving
   time, and one order in fifty is a service order with number 0. Loaded right after
   schema.sql; its waiters have names of their own, so the demo's look-ups by name stay
   unique. */

SET TERM ^ ;

EXECUTE BLOCK AS
    DECLARE TOTAL BIGINT = @LINES@;
    DECLARE DAYS INTEGER = 365;
    DECLARE PER_SHIFT BIGINT;
    DECLARE I BIGINT = 0;
    DECLARE DAY_NO INTEGER = 0;
    DECLARE ORDER_NO INTEGER = 0;
    DECLARE SHIFT BIGINT;
    DECLARE Z BIGINT;
    DECLARE FIRST_WAITER BIGINT;
    DECLARE OPENED TIMESTAMP;
    DECLARE STARTED TIMESTAMP;
    DECLARE R INTEGER;
    DECLARE STATE SMALLINT;
    DECLARE SEC INTEGER;
    DECLARE COOK INTEGER;
    DECLARE SERVE TIMESTAMP;
BEGIN
    INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Архив: Орлова Нина', 'Официант') RETURNING KOD INTO :FIRST_WAITER;
    INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Архив: Зайцев Олег', 'Официант');
    INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Архив: Лебедева Ирина', 'Официант');
    INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Архив: Морозов Павел', 'Официант');

    PER_SHIFT = MAXVALUE(1, TOTAL / DAYS + 1);
    WHILE (I < TOTAL) DO
    BEGIN
        IF (MOD(I, PER_SHIFT) = 0) THEN
        BEGIN
            DAY_NO = DAY_NO + 1;
            ORDER_NO = 0;
            OPENED = DATEADD(-(DAYS + 2 - DAY_NO) DAY TO DATEADD(10 HOUR TO CAST(CURRENT_DATE AS TIMESTAMP)));
            INSERT INTO SMENA (NUMBER_SMENA, STATUS, KOD_MENU, DATE_OPEN, DATE_CLOSE)
            VALUES (:DAY_NO, 10, NULL, :OPENED, DATEADD(14 HOUR TO :OPENED))
            RETURNING KOD INTO :SHIFT;
        END
        IF (MOD(I, PER_SHIFT) = 0 OR MOD(I, 5) = 0) THEN
        BEGIN
            ORDER_NO = ORDER_NO + 1;
            STARTED = DATEADD(MOD(ORDER_NO * 7, 800) MINUTE TO OPENED);
            INSERT INTO ZAKAZ (NUMBER_ZAKAZ, STATUS, INFO_ZAKAZ, KOD_PERSON, KOD_SMENA, DATE_OPEN)
            VALUES (IIF(MOD(:ORDER_NO, 50) = 0, 0, :ORDER_NO), 2, 'Стол ' || MOD(:ORDER_NO, 20),
                :FIRST_WAITER + MOD(:ORDER_NO, 4), :SHIFT, :STARTED)
            RETURNING KOD INTO :Z;
        END

        /* 7919 and 1000 share no factor, so R runs through 0..999 evenly. */
        R = MOD(I * 7919, 1000);
        STATE = CASE WHEN R < 2 THEN 1 WHEN R < 102 THEN 2 ELSE 3 END;
        SEC = CASE WHEN STATE = 1 THEN 7
            ELSE DECODE(MOD(I * 31, 7), 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 800, 900) END;
        COOK = DECODE(MOD(I * 13, 20), 0, NULL, 1, 0, 5 + MOD(I, 30));
        SERVE = IIF(MOD(I * 17, 20) = 0, DATEADD(40 MINUTE TO STARTED), NULL);
        INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, NAME_BLUDO, NAME_GROUP, KOLVO, CENA, PRINT_SECTION, SECTION,
            MY_TIME, MY_ALARM, START_TIME, END_TIME)
        VALUES (:Z, 'Блюдо ' || MOD(:I * 37, 120), 'Группа ' || MOD(:I * 37, 12), 1 + MOD(:I, 3), 300,
            :STATE, :SEC, :COOK, IIF(:COOK > 0, 1 + MOD(:I, 7), 0), :STARTED, :SERVE);
        I = I + 1;
    END
END^

SET TERM ; ^

COMMIT;
