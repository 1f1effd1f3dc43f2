#pragma once
// The monkey's random actions: clicks on the controls and the table, keys, typing, the tool
// buttons, the menus and shortcuts, the port dialog, the print preview, faults of the meter,
// pauses, and rarely the program closed or cut off. Each is picked by its weight among those that
// make sense for what is on the screen.

class Monkey;

void DoRandomAction(Monkey& monkey);
