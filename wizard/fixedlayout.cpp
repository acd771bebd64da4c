// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/fixedlayout.h"

#include <QStackedWidget>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Placed {
    QWidget *widget;
    QRect design;
    QSize needs;
    bool container; // spreads with the factors, and holds the controls inside it
    int parent; // index of the container it stands in, -1 for the window
    bool placedByParent = false; // a stack's page, which the stack places
};

bool isContainer(const QWidget *widget)
{
    return qstrcmp(widget->metaObject()->className(), "QWidget") == 0 || qobject_cast<const QStackedWidget *>(widget);
}

void collect(
    QWidget *container, int parent, const std::function<QSize(const QWidget *)> &needs, std::vector<Placed> &all)
{
    // A stack's pages fill the stack, each a container of its own.
    if (auto *stack = qobject_cast<QStackedWidget *>(container)) {
        for (int i = 0; i < stack->count(); ++i) {
            all.push_back({ stack->widget(i), QRect(QPoint(0, 0), stack->size()), QSize(), true, parent, true });
            collect(stack->widget(i), int(all.size()) - 1, needs, all);
        }
        return;
    }
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        const bool holds = isContainer(child);
        all.push_back({ child, child->geometry(), holds ? QSize() : needs(child), holds, parent, false });
        if (holds)
            collect(child, int(all.size()) - 1, needs, all);
    }
}

} // namespace

void growToFit(QWidget *window, QSize design, QSize most, const std::function<QSize(const QWidget *)> &needs)
{
    std::vector<Placed> all;
    collect(window, -1, needs, all);
    double across = 1;
    double down = 1;
    const auto place = [&](const Placed &p) {
        const QPoint at(int(std::lround(p.design.x() * across)), int(std::lround(p.design.y() * down)));
        if (p.container)
            return QRect(
                at, QSize(int(std::lround(p.design.width() * across)), int(std::lround(p.design.height() * down))));
        return QRect(at, p.design.size().expandedTo(p.needs));
    };
    const auto room = [&](int parent) {
        return parent < 0 ? QRect(QPoint(0, 0),
                   QSize(int(std::lround(design.width() * across)), int(std::lround(design.height() * down))))
                          : QRect(QPoint(0, 0), place(all[size_t(parent)]).size());
    };
    // The least factor that puts `size` before `to` when its start moves from `from`.
    const auto factorFor
        = [](int from, int to, int size) { return to > from ? double(size + 1) / double(to - from) : HUGE_VAL; };
    for (int round = 0; round < 100; ++round) {
        double needAcross = across;
        double needDown = down;
        for (size_t i = 0; i < all.size(); ++i) {
            const QRect a = place(all[i]);
            // Inside its container.
            const QRect inside = room(all[i].parent);
            if (a.right() > inside.right())
                needAcross = std::max(needAcross,
                    factorFor(all[i].design.x(),
                        all[i].parent < 0 ? design.width() : all[size_t(all[i].parent)].design.width(), a.width() - 1));
            if (a.bottom() > inside.bottom())
                needDown = std::max(needDown,
                    factorFor(all[i].design.y(),
                        all[i].parent < 0 ? design.height() : all[size_t(all[i].parent)].design.height(),
                        a.height() - 1));
            // Clear of the controls beside it: spread the way that asks the least.
            for (size_t j = i + 1; j < all.size(); ++j) {
                if (all[j].parent != all[i].parent || !a.intersects(place(all[j])))
                    continue;
                const Placed &first = all[i].design.x() <= all[j].design.x() ? all[i] : all[j];
                const Placed &second = &first == &all[i] ? all[j] : all[i];
                const Placed &upper = all[i].design.y() <= all[j].design.y() ? all[i] : all[j];
                const Placed &lower = &upper == &all[i] ? all[j] : all[i];
                const double sideways = factorFor(first.design.x(), second.design.x(), place(first).width());
                const double downwards = factorFor(upper.design.y(), lower.design.y(), place(upper).height());
                if (sideways == HUGE_VAL && downwards == HUGE_VAL)
                    continue; // designed on top of each other
                if (sideways / across <= downwards / down)
                    needAcross = std::max(needAcross, sideways);
                else
                    needDown = std::max(needDown, downwards);
            }
        }
        if (needAcross == across && needDown == down)
            break;
        across = needAcross;
        down = needDown;
    }
    for (const Placed &p : all) {
        if (!p.placedByParent)
            p.widget->setGeometry(place(p));
    }
    window->setFixedSize(room(-1).size().boundedTo(most));
}
