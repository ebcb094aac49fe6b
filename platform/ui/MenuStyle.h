#pragma once
// Menus built from menu items are measured through their items: the size the menu's style
// gives an item goes to the window owning a main menu as WM_MEASUREITEM, and, when no
// handler answers, to the item's own MeasureItem.
class QMenu;

void MeasureThroughItems(QMenu* Menu);
