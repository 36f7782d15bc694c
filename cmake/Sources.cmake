# The source lists of the layers, named file by file: a file moved to another
# folder must be moved here too, so it never changes its layer unnoticed.
# The core links QtCore only; the fuzz build compiles the same list again.
set(FENNICK_SRC ${PROJECT_SOURCE_DIR}/src)

set(FENNICK_CORE_SOURCES
  ${FENNICK_SRC}/platform/caldate.cpp
  ${FENNICK_SRC}/platform/clock.cpp
  ${FENNICK_SRC}/platform/privatefs.cpp
  ${FENNICK_SRC}/platform/syslog.cpp
  ${FENNICK_SRC}/platform/texts.cpp
  ${FENNICK_SRC}/platform/translations.cpp
  ${FENNICK_SRC}/platform/unixsocket.cpp
  ${FENNICK_SRC}/platform/version.cpp
  ${FENNICK_SRC}/timelog/checkinstate.cpp
  ${FENNICK_SRC}/timelog/conflicts.cpp
  ${FENNICK_SRC}/timelog/fileops.cpp
  ${FENNICK_SRC}/timelog/folderlock.cpp
  ${FENNICK_SRC}/timelog/logedit.cpp
  ${FENNICK_SRC}/timelog/logeditor.cpp
  ${FENNICK_SRC}/timelog/loghistory.cpp
  ${FENNICK_SRC}/timelog/logfile.cpp
  ${FENNICK_SRC}/timelog/record.cpp
  ${FENNICK_SRC}/timelog/store.cpp
  ${FENNICK_SRC}/timelog/timeclock.cpp
  ${FENNICK_SRC}/timelog/timeentry.cpp
  ${FENNICK_SRC}/summary/monthsumhandler.cpp
  ${FENNICK_SRC}/reports/account.cpp
  ${FENNICK_SRC}/reports/csv.cpp
  ${FENNICK_SRC}/reports/mydatasource.cpp
  ${FENNICK_SRC}/reports/navigation.cpp
  ${FENNICK_SRC}/reports/pagination.cpp
  ${FENNICK_SRC}/reports/report.cpp
  ${FENNICK_SRC}/shell/autostart.cpp
  ${FENNICK_SRC}/shell/foldermove.cpp
  ${FENNICK_SRC}/shell/reminder.cpp
  ${FENNICK_SRC}/shell/session.cpp
  ${FENNICK_SRC}/shell/settings.cpp
  ${FENNICK_SRC}/shell/startup.cpp
  ${FENNICK_SRC}/cli/args.cpp
  ${FENNICK_SRC}/cli/cli.cpp
  ${FENNICK_SRC}/cli/merge.cpp
  ${FENNICK_SRC}/cli/output.cpp
  ${FENNICK_SRC}/cli/punch.cpp)

# Widgets, dialogs, tables, printing, and the application's glue.
set(FENNICK_GUI_SOURCES
  ${FENNICK_SRC}/windows/activityindicator.cpp
  ${FENNICK_SRC}/windows/appicon.cpp
  ${FENNICK_SRC}/windows/checkinwindow.cpp
  ${FENNICK_SRC}/windows/conflictnotice.cpp
  ${FENNICK_SRC}/windows/dailychart.cpp
  ${FENNICK_SRC}/windows/elidedlabel.cpp
  ${FENNICK_SRC}/windows/pagedtableview.cpp
  ${FENNICK_SRC}/windows/prefwindow.cpp
  ${FENNICK_SRC}/windows/punchdialog.cpp
  ${FENNICK_SRC}/windows/reportwindow.cpp
  ${FENNICK_SRC}/windows/timeentrydialog.cpp
  ${FENNICK_SRC}/app/commands.cpp
  ${FENNICK_SRC}/app/display.cpp
  ${FENNICK_SRC}/app/folderchoice.cpp
  ${FENNICK_SRC}/app/logwatcher.cpp
  ${FENNICK_SRC}/app/mainwindows.cpp
  ${FENNICK_SRC}/app/mycontroller.cpp
  ${FENNICK_SRC}/app/notifier.cpp
  ${FENNICK_SRC}/app/preferences.cpp
  ${FENNICK_SRC}/app/punchedits.cpp
  ${FENNICK_SRC}/app/reminders.cpp
  ${FENNICK_SRC}/app/windowplaces.cpp
  ${FENNICK_SRC}/app/singleinstance.cpp
  ${FENNICK_SRC}/app/tray.cpp)
