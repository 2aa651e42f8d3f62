#include "KeyDecisions.h"

bool KeyDecisions::atBoard(KeyAction action, const BoardKeys& board)
{
    switch (action) {
    case KeyAction::Order1:
    case KeyAction::Order2:
    case KeyAction::Order3:
    case KeyAction::Order4:
    case KeyAction::Order5:
    case KeyAction::Order6:
        board.choosePanel(int(action) - int(KeyAction::Order1));
        return true;
    case KeyAction::PrevOrder:
    case KeyAction::NextOrder:
        board.stepOrder(action == KeyAction::NextOrder ? 1 : -1);
        return true;
    case KeyAction::PrevDish:
    case KeyAction::NextDish:
        board.stepDish(action == KeyAction::NextDish ? 1 : -1);
        return true;
    case KeyAction::DishReady:
        if (!board.orderChosen())
            return false;
        if (board.dishChosen())
            board.dishReady();
        return true;
    case KeyAction::OrderReady:
        if (!board.orderChosen())
            return false;
        board.orderReady();
        return true;
    case KeyAction::TakeBack:
        board.takeBack();
        return true;
    case KeyAction::AllOrders:
        board.allOrders();
        return true;
    case KeyAction::PrevPage:
    case KeyAction::NextPage:
        board.turnPage(action == KeyAction::NextPage ? 1 : -1);
        return true;
    case KeyAction::HotQueue:
        board.hotQueue();
        return true;
    case KeyAction::AllDay:
        board.allDay();
        return true;
    case KeyAction::OpenOrder:
        if (!board.orderChosen())
            return false;
        board.openChosen();
        return true;
    case KeyAction::Close:
        board.dropChoice();
        return true;
    case KeyAction::Recall:
        board.recall();
        return true;
    case KeyAction::Statistics:
        board.statistics();
        return true;
    }
    return false;
}

bool KeyDecisions::inList(KeyAction action, const ListKeys& list)
{
    switch (action) {
    case KeyAction::PrevDish:
    case KeyAction::NextDish:
        list.step(action == KeyAction::NextDish ? 1 : -1);
        return true;
    case KeyAction::DishReady:
        if (!list.rowDone || !list.rowDone())
            list.enter();
        return true;
    case KeyAction::OrderReady:
        if (!list.whole)
            return false;
        if (!list.wholeDone || !list.wholeDone())
            list.whole();
        return true;
    case KeyAction::Close:
        list.close();
        return true;
    default:
        return false;
    }
}

bool KeyDecisions::inBrowse(KeyAction action, const BrowseKeys& browse)
{
    switch (action) {
    case KeyAction::AllDay:
    case KeyAction::Close:
        browse.close();
        break;
    case KeyAction::PrevDish:
    case KeyAction::NextDish:
        browse.step(action == KeyAction::NextDish ? 1 : -1);
        break;
    case KeyAction::OpenOrder:
        browse.open();
        break;
    case KeyAction::PrevOrder:
        browse.back();
        break;
    default:
        break;
    }
    return true;
}
