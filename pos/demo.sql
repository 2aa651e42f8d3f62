/* A restaurant in the middle of an evening shift, for the demo and for trying the kitchen
   monitor by hand. Loaded by pos/create-db --demo right after schema.sql, over a connection
   with character set UTF8, as this file is UTF-8 text. All times are set relative to
   CURRENT_TIMESTAMP, so the data is fresh whenever it is loaded: some dishes were just
   ordered, some are close to their due time and some are overdue.

   Kitchen sections of the menu: 1 soups and hot dishes, 2 grill, 3 salads, 4 pizza,
   5 desserts; 800 sides and bread and 900 drinks, which every kitchen monitor shows.
   The shift's menu has twelve sections; a few items carry a limit, and the point of sale
   refuses limits below 2. */

CREATE EXCEPTION NO_SUCH_DISH 'The shift''s menu has no such dish';
COMMIT;

INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Иванова Мария', 'Официант');
INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Петров Сергей', 'Официант');
INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Смирнова Анна', 'Официант');
INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Кузнецов Дмитрий', 'Официант');
INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Соколова Елена', 'Официант');
INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Попов Алексей', 'Официант');
INSERT INTO PERSON (FIO, DOLGNOST) VALUES ('Волкова Ольга', 'Администратор');

INSERT INTO MY_PARAM (NAME_PARAM, INTEGER_PARAM) VALUES ('timealarm', 5);
INSERT INTO MY_PARAM (NAME_PARAM) VALUES ('time_monitor');
INSERT INTO MY_PARAM (NAME_PARAM) VALUES ('limit_monitor');
INSERT INTO MY_PARAM (NAME_PARAM, FLOAT_PARAM) VALUES ('limit_min1', 3);
INSERT INTO MY_PARAM (NAME_PARAM, FLOAT_PARAM) VALUES ('limit_min2', 2);
INSERT INTO MY_PARAM (NAME_PARAM, INTEGER_PARAM) VALUES ('service_percent', 10);
INSERT INTO MY_PARAM (NAME_PARAM, STRING_PARAM) VALUES ('check_title', 'Кафе «Рябинка»');

SET TERM ^ ;

EXECUTE BLOCK AS
    DECLARE MENU BIGINT;
    DECLARE OLD_MENU BIGINT;
    DECLARE G BIGINT;
    DECLARE SHIFT BIGINT;
    DECLARE OLD_SHIFT BIGINT;
    DECLARE Z BIGINT;

    DECLARE PROCEDURE NEW_GROUP (MENU BIGINT, SORT INTEGER, NAME VARCHAR(100))
        RETURNS (KOD BIGINT)
    AS
    BEGIN
        INSERT INTO MENU_GROUP (MY_SORT, KOD_SPISOK_MENU, KOD_GROUP_CALC_PROGRAM, NAME_GROUP, STATUS)
        VALUES (:SORT, :MENU, 100 + :SORT, :NAME, '0')
        RETURNING KOD INTO :KOD;
    END

    /* A menu item; COOK and ALARM are the cooking and alarm minutes, LIM its limit. */
    DECLARE PROCEDURE ITEM (GRP BIGINT, NAME VARCHAR(100), VIHOD VARCHAR(20), CENA DOUBLE PRECISION,
        SECTION SMALLINT, COOK INTEGER, ALARM INTEGER, LIM DOUBLE PRECISION = NULL)
    AS
    BEGIN
        INSERT INTO MENU_STR (KOD_MENU, KOD_MENU_GROUP, KOD_BLUDO_CALC_PROGRAM, NAME, VIHOD, CENA,
            MAX_PERCENT, LIMIT, STATUS, SECTION, S_KOD, MY_TIME, MY_ALARM)
        SELECT G.KOD_SPISOK_MENU, G.KOD, NULL, :NAME, :VIHOD, :CENA, 100, :LIM, '0', :SECTION,
            NULL, :COOK, :ALARM
        FROM MENU_GROUP G WHERE G.KOD = :GRP;
    END

    DECLARE PROCEDURE NEW_ORDER (SHIFT BIGINT, NUM INTEGER, WAITER VARCHAR(50), INFO VARCHAR(50),
        AGO INTEGER, STATUS SMALLINT = 0)
        RETURNS (KOD BIGINT)
    AS
    BEGIN
        INSERT INTO ZAKAZ (NUMBER_ZAKAZ, STATUS, INFO_ZAKAZ, KOD_PERSON, KOD_SMENA, DATE_OPEN)
        VALUES (:NUM, :STATUS, :INFO, (SELECT KOD FROM PERSON WHERE FIO = :WAITER), :SHIFT,
            DATEADD(-:AGO MINUTE TO CURRENT_TIMESTAMP))
        RETURNING KOD INTO :KOD;
    END

    /* One dish of an order, taken from the menu of the order's shift: ordered AGO minutes
       ago, in kitchen state STATE, with a serving time SERVE minutes from now when given. */
    DECLARE PROCEDURE LINE (ZAKAZ BIGINT, DISH VARCHAR(100), QTY DOUBLE PRECISION, STATE SMALLINT,
        AGO INTEGER, SERVE INTEGER = NULL)
    AS
    BEGIN
        INSERT INTO ZAKAZ_STR (KOD_ZAKAZ, KOD_MENU_STR, NAME_BLUDO, NAME_GROUP, KOLVO, CENA,
            PRINT_SECTION, SECTION, MY_TIME, MY_ALARM, START_TIME, END_TIME)
        SELECT Z.KOD, M.KOD, M.NAME, G.NAME_GROUP, :QTY, M.CENA, :STATE, M.SECTION, M.MY_TIME,
            M.MY_ALARM, DATEADD(-:AGO MINUTE TO CURRENT_TIMESTAMP),
            DATEADD(:SERVE MINUTE TO CURRENT_TIMESTAMP)
        FROM ZAKAZ Z
        JOIN SMENA S ON S.KOD = Z.KOD_SMENA
        JOIN MENU_STR M ON M.KOD_MENU = S.KOD_MENU
        JOIN MENU_GROUP G ON G.KOD = M.KOD_MENU_GROUP
        WHERE Z.KOD = :ZAKAZ AND M.NAME = :DISH;
        IF (ROW_COUNT <> 1) THEN
            EXCEPTION NO_SUCH_DISH 'The shift''s menu has no dish ' || DISH;
    END
BEGIN
    /* Last season's menu, still in force for yesterday's closed shift. */
    INSERT INTO SPISOK_MENU (NAME) VALUES ('Летнее меню') RETURNING KOD INTO :OLD_MENU;
    EXECUTE PROCEDURE NEW_GROUP(OLD_MENU, 1, 'Холодные супы') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Окрошка на квасе', '300 г', 290, 1, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Свекольник', '300 г', 270, 1, 5, 2);
    EXECUTE PROCEDURE NEW_GROUP(OLD_MENU, 2, 'Гриль') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Шашлык из курицы', '250/50 г', 490, 2, 25, 8);
    EXECUTE PROCEDURE ITEM(G, 'Форель на гриле', '300 г', 890, 2, 20, 6, 4);

    /* The menu of the current shift. */
    INSERT INTO SPISOK_MENU (NAME) VALUES ('Основное меню') RETURNING KOD INTO :MENU;

    EXECUTE PROCEDURE NEW_GROUP(MENU, 1, 'Холодные закуски') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Мясное ассорти', '200 г', 590, 3, 7, 2);
    EXECUTE PROCEDURE ITEM(G, 'Сырная тарелка', '180 г', 620, 3, 7, 2);
    EXECUTE PROCEDURE ITEM(G, 'Рыбное ассорти', '200 г', 690, 3, 7, 2);
    EXECUTE PROCEDURE ITEM(G, 'Соленья домашние', '250 г', 290, 3, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Селёдочка с картофелем', '250 г', 320, 3, 7, 2);
    EXECUTE PROCEDURE ITEM(G, 'Холодец с хреном', '200 г', 340, 3, 5, 2, 2.5);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 4, 'Супы') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Борщ с пампушками', '300 г', 320, 1, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Солянка мясная сборная', '300 г', 380, 1, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Уха по-фински', '300 г', 420, 1, 20, 5);
    EXECUTE PROCEDURE ITEM(G, 'Суп-лапша куриная', '300 г', 260, 1, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Крем-суп из шампиньонов', '250 г', 340, 1, 12, 4);
    EXECUTE PROCEDURE ITEM(G, 'Зелёный борщ со щавелем', '300 г', 300, 1, 15, 5, 8);
    EXECUTE PROCEDURE ITEM(G, 'Щи из квашеной капусты', '300 г', 280, 1, 15, 5);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 2, 'Салаты') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Цезарь с курицей', '250 г', 450, 3, 10, 3, 12);
    EXECUTE PROCEDURE ITEM(G, 'Греческий', '220 г', 390, 3, 8, 3);
    EXECUTE PROCEDURE ITEM(G, 'Оливье', '200 г', 290, 3, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Сельдь под шубой', '200 г', 270, 3, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Салат с тёплой говядиной', '230 г', 520, 3, 12, 4);
    EXECUTE PROCEDURE ITEM(G, 'Винегрет', '200 г', 210, 3, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Салат из свежих овощей', '220 г', 260, 3, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Витаминный', '200 г', 230, 3, 5, 2);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 3, 'Горячие закуски') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Жульен с грибами', '150 г', 340, 1, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Драники со сметаной', '250 г', 290, 1, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Креветки в кляре', '200 г', 590, 1, 12, 4);
    EXECUTE PROCEDURE ITEM(G, 'Сырные палочки', '180 г', 360, 1, 10, 3);
    EXECUTE PROCEDURE ITEM(G, 'Куриные наггетсы', '200 г', 310, 1, 10, 3);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 5, 'Горячие блюда') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Бефстроганов с пюре', '350 г', 590, 1, 25, 7);
    EXECUTE PROCEDURE ITEM(G, 'Котлета по-киевски', '300 г', 540, 1, 25, 7);
    EXECUTE PROCEDURE ITEM(G, 'Пельмени домашние', '300 г', 420, 1, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Жаркое в горшочке', '400 г', 560, 1, 30, 8);
    EXECUTE PROCEDURE ITEM(G, 'Голубцы', '350 г', 450, 1, 20, 5);
    EXECUTE PROCEDURE ITEM(G, 'Паста карбонара', '300 г', 480, 1, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Судак в сливочном соусе', '320 г', 690, 1, 25, 7);
    EXECUTE PROCEDURE ITEM(G, 'Плов с бараниной', '350 г', 520, 1, 20, 5);
    EXECUTE PROCEDURE ITEM(G, 'Гуляш говяжий', '350 г', 490, 1, 20, 5);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 6, 'Блюда из рыбы') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Сёмга на пару', '250 г', 890, 1, 20, 6, 6);
    EXECUTE PROCEDURE ITEM(G, 'Треска в кляре', '250 г', 560, 1, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Форель запечённая', '300 г', 840, 1, 25, 7);
    EXECUTE PROCEDURE ITEM(G, 'Дорадо на гриле', '350 г', 950, 2, 25, 7);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 7, 'Гриль') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Шашлык из свинины', '250/50 г', 650, 2, 30, 10);
    EXECUTE PROCEDURE ITEM(G, 'Шашлык из баранины', '250/50 г', 790, 2, 35, 10);
    EXECUTE PROCEDURE ITEM(G, 'Стейк рибай', '300 г', 1450, 2, 25, 8, 5);
    EXECUTE PROCEDURE ITEM(G, 'Куриные крылья гриль', '300 г', 420, 2, 20, 5);
    EXECUTE PROCEDURE ITEM(G, 'Люля-кебаб', '200 г', 520, 2, 20, 6);
    EXECUTE PROCEDURE ITEM(G, 'Овощи гриль', '200 г', 320, 2, 15, 5);
    EXECUTE PROCEDURE ITEM(G, 'Стейк из сёмги', '250 г', 1190, 2, 20, 6);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 8, 'Пицца') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Маргарита', '30 см', 490, 4, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Пепперони', '30 см', 590, 4, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Четыре сыра', '30 см', 640, 4, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Пицца с ветчиной и грибами', '30 см', 610, 4, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Гавайская', '30 см', 590, 4, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Пицца с морепродуктами', '30 см', 790, 4, 15, 4);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 9, 'Детское меню') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Суп с фрикадельками', '200 г', 190, 1, 10, 3);
    EXECUTE PROCEDURE ITEM(G, 'Котлетки с пюре', '250 г', 290, 1, 15, 4);
    EXECUTE PROCEDURE ITEM(G, 'Макароны с сыром', '200 г', 220, 1, 10, 3);
    EXECUTE PROCEDURE ITEM(G, 'Блинчики с вареньем', '2 шт', 180, 5, 10, 3);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 11, 'Десерты') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Наполеон', '150 г', 260, 5, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Чизкейк Нью-Йорк', '150 г', 320, 5, 5, 2, 3);
    EXECUTE PROCEDURE ITEM(G, 'Блины со сметаной', '3 шт', 220, 5, 10, 3);
    EXECUTE PROCEDURE ITEM(G, 'Сырники со сметаной', '200 г', 280, 5, 12, 4);
    EXECUTE PROCEDURE ITEM(G, 'Мороженое ассорти', '150 г', 240, 5, 0, 0);
    EXECUTE PROCEDURE ITEM(G, 'Тирамису', '150 г', 340, 5, 5, 2, 4);
    EXECUTE PROCEDURE ITEM(G, 'Штрудель яблочный', '180 г', 290, 5, 10, 3);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 10, 'Гарниры и хлеб') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Картофель фри', '150 г', 180, 800, 8, 3);
    EXECUTE PROCEDURE ITEM(G, 'Картофельное пюре', '200 г', 150, 800, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Рис с овощами', '200 г', 160, 800, 5, 2);
    EXECUTE PROCEDURE ITEM(G, 'Хлебная корзина', '4 шт', 90, 800, NULL, NULL);
    EXECUTE PROCEDURE ITEM(G, 'Соус сырный', '50 г', 70, 800, 0, 0);
    EXECUTE PROCEDURE ITEM(G, 'Гречка с грибами', '200 г', 170, 800, 8, 3);
    EXECUTE PROCEDURE ITEM(G, 'Картофель по-деревенски', '200 г', 190, 800, 10, 3);

    EXECUTE PROCEDURE NEW_GROUP(MENU, 12, 'Напитки') RETURNING_VALUES :G;
    EXECUTE PROCEDURE ITEM(G, 'Морс клюквенный', '250 мл', 150, 900, 0, 0);
    EXECUTE PROCEDURE ITEM(G, 'Чай чёрный', '400 мл', 180, 900, NULL, NULL);
    EXECUTE PROCEDURE ITEM(G, 'Кофе капучино', '250 мл', 220, 900, 3, 1);
    EXECUTE PROCEDURE ITEM(G, 'Лимонад домашний', '400 мл', 280, 900, 5, 2, 20);
    EXECUTE PROCEDURE ITEM(G, 'Компот из сухофруктов', '250 мл', 120, 900, NULL, NULL);
    EXECUTE PROCEDURE ITEM(G, 'Чай зелёный', '400 мл', 180, 900, NULL, NULL);
    EXECUTE PROCEDURE ITEM(G, 'Кофе американо', '200 мл', 170, 900, 3, 1);
    EXECUTE PROCEDURE ITEM(G, 'Сок апельсиновый', '250 мл', 190, 900, 0, 0);
    EXECUTE PROCEDURE ITEM(G, 'Вода минеральная', '500 мл', 120, 900, NULL, NULL);
    EXECUTE PROCEDURE ITEM(G, 'Глинтвейн безалкогольный', '250 мл', 260, 900, 5, 2);

    /* Item codes of the till and of the costing program. */
    UPDATE MENU_STR SET S_KOD = KOD - 5400000000 + 1000, KOD_BLUDO_CALC_PROGRAM = KOD - 5400000000 + 20000;
    UPDATE MENU_STR SET DOP = 'подаётся со сметаной и пампушками' WHERE NAME = 'Борщ с пампушками';
    UPDATE MENU_STR SET DOP = 'прожарка по желанию гостя' WHERE NAME = 'Стейк рибай';

    /* Yesterday's shift is closed: none of its orders may reach a kitchen monitor, not even
       the dish still marked new. */
    INSERT INTO SMENA (NUMBER_SMENA, STATUS, KOD_MENU, DATE_OPEN, DATE_CLOSE)
    VALUES (41, 10, :OLD_MENU, DATEADD(-28 HOUR TO CURRENT_TIMESTAMP),
        DATEADD(-16 HOUR TO CURRENT_TIMESTAMP))
    RETURNING KOD INTO :OLD_SHIFT;
    EXECUTE PROCEDURE NEW_ORDER(OLD_SHIFT, 27, 'Иванова Мария', 'Стол 5', 1100, 2) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Окрошка на квасе', 2, 2, 1100);
    EXECUTE PROCEDURE LINE(Z, 'Шашлык из курицы', 2, 3, 1100);
    EXECUTE PROCEDURE NEW_ORDER(OLD_SHIFT, 28, 'Петров Сергей', 'Стол 3', 1080, 2) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Свекольник', 1, 1, 1080);
    EXECUTE PROCEDURE LINE(Z, 'Форель на гриле', 1, 2, 1080, -1060);
    EXECUTE PROCEDURE NEW_ORDER(OLD_SHIFT, 29, 'Соколова Елена', NULL, 1050, 2) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Шашлык из курицы', 1, 2, 1050);

    /* Tonight's shift. */
    INSERT INTO SMENA (NUMBER_SMENA, STATUS, KOD_MENU, DATE_OPEN)
    VALUES (42, 1, :MENU, DATEADD(-5 HOUR TO CURRENT_TIMESTAMP))
    RETURNING KOD INTO :SHIFT;

    /* Overdue: both hot dishes are red; bread and drinks are ready. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 31, 'Иванова Мария', 'Стол 5', 32) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Борщ с пампушками', 2, 2, 32);
    EXECUTE PROCEDURE LINE(Z, 'Бефстроганов с пюре', 2, 2, 32);
    EXECUTE PROCEDURE LINE(Z, 'Хлебная корзина', 1, 3, 32);
    EXECUTE PROCEDURE LINE(Z, 'Морс клюквенный', 2, 3, 32);

    /* Within the alarm time (maroon), fries overdue, the salad ready. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 32, 'Петров Сергей', 'Стол 12', 20) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Солянка мясная сборная', 1, 2, 12);
    EXECUTE PROCEDURE LINE(Z, 'Котлета по-киевски', 1, 2, 20);
    EXECUTE PROCEDURE LINE(Z, 'Цезарь с курицей', 1, 3, 20);
    EXECUTE PROCEDURE LINE(Z, 'Картофель фри', 1, 2, 20);

    /* Just ordered and on schedule (green); tea has no cooking time. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 33, 'Смирнова Анна', NULL, 3) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Пельмени домашние', 1, 2, 3);
    EXECUTE PROCEDURE LINE(Z, 'Крем-суп из шампиньонов', 1, 2, 3);
    EXECUTE PROCEDURE LINE(Z, 'Чай чёрный', 2, 2, 3);

    /* Serving times given by the kitchen: one far off, one near, one already passed, and
       bread with a serving time but no cooking time. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 34, 'Кузнецов Дмитрий', 'Стол 7', 45) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Шашлык из свинины', 2, 2, 45, 25);
    EXECUTE PROCEDURE LINE(Z, 'Жаркое в горшочке', 1, 2, 5, 12);
    EXECUTE PROCEDURE LINE(Z, 'Голубцы', 1, 2, 40, -3);
    EXECUTE PROCEDURE LINE(Z, 'Хлебная корзина', 1, 2, 45, 5);

    /* A banquet: a mix of states, the steak and the coffee still new. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 35, 'Соколова Елена', 'Банкет', 8) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Салат с тёплой говядиной', 2, 2, 8);
    EXECUTE PROCEDURE LINE(Z, 'Судак в сливочном соусе', 2, 2, 8);
    EXECUTE PROCEDURE LINE(Z, 'Стейк рибай', 1, 1, 1);
    EXECUTE PROCEDURE LINE(Z, 'Рис с овощами', 2, 2, 8);
    EXECUTE PROCEDURE LINE(Z, 'Лимонад домашний', 2, 3, 8);
    EXECUTE PROCEDURE LINE(Z, 'Кофе капучино', 2, 1, 0);

    /* Takeaway that has only just reached the kitchen: every dish new. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 36, 'Попов Алексей', 'С собой', 1) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Паста карбонара', 1, 1, 1);
    EXECUTE PROCEDURE LINE(Z, 'Картофель фри', 1, 1, 1);
    EXECUTE PROCEDURE LINE(Z, 'Компот из сухофруктов', 1, 1, 1);

    /* Soup ready; half a portion of dumplings with under a minute left (maroon, then red). */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 37, 'Иванова Мария', 'Стол 2', 15) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Уха по-фински', 1, 3, 15);
    EXECUTE PROCEDURE LINE(Z, 'Котлета по-киевски', 1, 2, 15);
    EXECUTE PROCEDURE LINE(Z, 'Пельмени домашние', 0.5, 2, 14);

    /* Everything ready: listed only when the board shows all orders. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 38, 'Петров Сергей', 'Стол 9', 35) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Борщ с пампушками', 1, 3, 35);
    EXECUTE PROCEDURE LINE(Z, 'Оливье', 1, 3, 35);
    EXECUTE PROCEDURE LINE(Z, 'Морс клюквенный', 1, 3, 35);

    /* Grill and pizza only: shown only where sections 2 or 4 are served. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 39, 'Смирнова Анна', 'Стол 4', 25) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Маргарита', 1, 2, 12);
    EXECUTE PROCEDURE LINE(Z, 'Пепперони', 1, 1, 2);
    EXECUTE PROCEDURE LINE(Z, 'Куриные крылья гриль', 2, 2, 25);

    /* Desserts, overdue coffee, and ice cream with a serving time but no cooking time. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 40, 'Кузнецов Дмитрий', NULL, 6) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Сырники со сметаной', 2, 2, 6);
    EXECUTE PROCEDURE LINE(Z, 'Блины со сметаной', 1, 2, 6);
    EXECUTE PROCEDURE LINE(Z, 'Кофе капучино', 2, 2, 6);
    EXECUTE PROCEDURE LINE(Z, 'Мороженое ассорти', 1, 2, 6, 20);

    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 41, 'Соколова Елена', 'Стол 10', 4) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Греческий', 1, 2, 4);
    EXECUTE PROCEDURE LINE(Z, 'Сельдь под шубой', 1, 2, 4);
    EXECUTE PROCEDURE LINE(Z, 'Солянка мясная сборная', 2, 2, 4);
    EXECUTE PROCEDURE LINE(Z, 'Хлебная корзина', 1, 2, 4);

    /* A long order across the grill, the soup pot and the sides. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 42, 'Попов Алексей', 'Стол 1', 20) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Шашлык из баранины', 1, 2, 20);
    EXECUTE PROCEDURE LINE(Z, 'Люля-кебаб', 2, 2, 20);
    EXECUTE PROCEDURE LINE(Z, 'Овощи гриль', 1, 3, 20);
    EXECUTE PROCEDURE LINE(Z, 'Суп-лапша куриная', 2, 2, 20);
    EXECUTE PROCEDURE LINE(Z, 'Картофельное пюре', 1, 2, 2);
    EXECUTE PROCEDURE LINE(Z, 'Соус сырный', 2, 2, 20);
    EXECUTE PROCEDURE LINE(Z, 'Лимонад домашний', 2, 1, 0);

    /* Pizza with a serving time and an overdue cheesecake: sections 4 and 5 only. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 43, 'Иванова Мария', 'Стол 6', 10) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Четыре сыра', 1, 2, 10, 5);
    EXECUTE PROCEDURE LINE(Z, 'Чизкейк Нью-Йорк', 1, 2, 10);
    EXECUTE PROCEDURE LINE(Z, 'Компот из сухофруктов', 1, 3, 10);

    /* The staff meal has order number 0: it never takes an order panel, though the hot
       queue, which does not look at order numbers, lists its overdue soup. */
    EXECUTE PROCEDURE NEW_ORDER(SHIFT, 0, 'Волкова Ольга', 'Персонал', 50) RETURNING_VALUES :Z;
    EXECUTE PROCEDURE LINE(Z, 'Борщ с пампушками', 3, 2, 50);
    EXECUTE PROCEDURE LINE(Z, 'Чай чёрный', 3, 1, 50);
END^

SET TERM ; ^

COMMIT;
