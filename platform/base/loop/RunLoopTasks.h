// base::isRunningMainLoopTasks: whether the main run loop is running a turn's tasks (its end-of-turn observers
// not yet), so that work deferred from such a task to an end-of-turn observer is done before the turn ends.
// Main thread.
//
//   if (base::isRunningMainLoopTasks())
//       m_writePending = true;                  // an end-of-turn observer writes once for the whole turn
#pragma once

namespace base {

bool isRunningMainLoopTasks();

} // namespace base
