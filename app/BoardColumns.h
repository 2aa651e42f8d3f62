#pragma once
// The hot queue's columns and the sections' frame, as the board builds and lays them out.

#include <QString>
#include <array>

class QCheckBox;
class QGroupBox;

namespace BoardColumns {
using namespace Qt::StringLiterals;
// Columns of the hot queue: field, title, share (hundredths) with and without the group column.
struct HotColumn {
    const char* field;
    QString title;
    int shareShown;
    int shareHidden;
};
// The minutes left close the row, where the eye ends reading it.
inline const HotColumn HotColumns[] = {
    {"KOLVO", u"Кол-во"_s, 6, 6},
    {"NAME_BLUDO", u"\" Горящая \" очередь блюд"_s, 36, 40},
    {"NAME_GROUP", u"Группа"_s, 12, 0},
    {"TP", u"Время подачи"_s, 10, 10},
    {"INFO_ZAKAZ", u"Информация"_s, 12, 16},
    {"FIO", u"Обслуживает"_s, 12, 16},
    {"NUMBER_ZAKAZ", u"№ зак."_s, 5, 5},
    {nullptr, u"Мин."_s, 6, 6},
};
inline constexpr int GroupColumn = 2;


// The section frame's title on its top line and its boxes centred below it (wholeHeight: each
// box the frame's whole height, as on a full screen).
void fitSectionBoxes(QGroupBox* frame, const std::array<QCheckBox*, 5>& boxes, bool wholeHeight);
}
