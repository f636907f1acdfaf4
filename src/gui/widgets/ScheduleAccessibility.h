#pragma once

// The schedule as assistive technology sees it: a table whose cells are the shown days. A
// cell's name reads like the day pane's heading, its description lists the day's lines; the
// cursor's cell is the selected one (and the focused one while the grid has the focus), and
// every cursor move is announced.

class QAccessibleInterface;
class QObject;
class QString;

namespace pelo {

class TSchedule;

// Makes the table interface for objects of class pelo::TSchedule (Qt's factory signature).
QAccessibleInterface* ScheduleAccessibleFactory(const QString& class_name, QObject* object);

// Registers the factory with Qt; once per program.
void InstallScheduleAccessibility();

// Announces the schedule's cursor moves as focus and selection changes of its cells.
void AnnounceCursorMoves(TSchedule& schedule);

}  // namespace pelo
