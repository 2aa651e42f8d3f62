#pragma once
// A list the cook works by finger and by keys: whole rows chosen one at a time, nothing edited
// in place, titles that do not light up with the choice, no row numbers.

#include "DesignFonts.h"
#include <QHeaderView>
#include <QTableWidget>

namespace TouchList {
inline void setUp(QTableWidget* grid, int rowHeight)
{
    grid->horizontalHeader()->setFont(DesignFonts::arial(13));
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
}
}
