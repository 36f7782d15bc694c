<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Account</name>
    <message>
        <source>Today: %1</source>
        <translation>Heute: %1</translation>
    </message>
    <message>
        <source>Left today: %1</source>
        <translation>Heute noch: %1</translation>
    </message>
    <message>
        <source>Week balance: %1</source>
        <translation>Wochensaldo: %1</translation>
    </message>
</context>
<context>
    <name>InfoPlist</name>
    <message>
        <source>checkIN</source>
        <translation>Kommen</translation>
    </message>
    <message>
        <source>checkOUT</source>
        <translation>Gehen</translation>
    </message>
    <message>
        <source>ckinTitleMessFMT</source>
        <translation>Zuletzt: %@</translation>
    </message>
    <message>
        <source>ckinMessMessFMT</source>
        <translation>Bitte %@ stempeln.</translation>
    </message>
    <message>
        <source>ckinPreTitleMessFMT</source>
        <translation>Letztes %@ um:</translation>
    </message>
    <message>
        <source>titleMessFMT</source>
        <translation>Jetzt: %@</translation>
    </message>
    <message>
        <source>messMessFMT</source>
        <translation>Ungefähre Zeit für %@ eingeben.</translation>
    </message>
    <message>
        <source>entDateAlert</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>entDateMess</source>
        <translation>Bitte eine Zeit zwischen der letzten Stempelung und dem Tastendruck eingeben.</translation>
    </message>
    <message>
        <source>tukigoukeiFMT</source>
        <translation>Monatssumme: 	%03d:%02d:%02d</translation>
    </message>
    <message>
        <source>nengoukeiFMT</source>
        <translation>Jahressumme: 	%03d:%02d:%02d</translation>
    </message>
</context>
<context>
    <name>MyBaseTableView</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
</context>
<context>
    <name>MyDataSource</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Worked</source>
        <translation>Gearbeitet</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>no punches</source>
        <translation>keine Stempelzeiten</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Worked / Target / Difference</source>
        <translation>Gearbeitet / Soll / Differenz</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Scale</source>
        <translation>Skalierung</translation>
    </message>
</context>
<context>
    <name>ReportHeading</name>
    <message>
        <source>Log – %1</source>
        <translation>Protokoll – %1</translation>
    </message>
    <message>
        <source>Daily Sums – %1</source>
        <translation>Tagessummen – %1</translation>
    </message>
    <message>
        <source>Monthly Sums – %1</source>
        <translation>Monatssummen – %1</translation>
    </message>
    <message>
        <source>No punches in %1</source>
        <translation>Keine Stempelzeiten im %1</translation>
    </message>
    <message>
        <source>Weekly Sums – %1</source>
        <translation>Wochensummen – %1</translation>
    </message>
</context>
<context>
    <name>ReportTotal</name>
    <message>
        <source>Balance of the month: 	%02d:%02d:%02d</source>
        <translation>Saldo des Monats: 	%02d:%02d:%02d</translation>
    </message>
</context>
<context>
    <name>fennick::ActivityIndicator</name>
    <message>
        <source>Checked-in indicator</source>
        <translation>Anzeige: gekommen</translation>
    </message>
</context>
<context>
    <name>fennick::CheckInWindow</name>
    <message>
        <source>Check &amp;In</source>
        <translation>&amp;Kommen</translation>
    </message>
    <message>
        <source>Check &amp;Out</source>
        <translation>&amp;Gehen</translation>
    </message>
    <message>
        <source>fennick</source>
        <translation>fennick</translation>
    </message>
</context>
<context>
    <name>fennick::CliText</name>
    <message>
        <source>%1 (see &apos;fennick --help&apos;)</source>
        <translation>%1 (siehe &apos;fennick --help&apos;)</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>Option &apos;%1&apos; braucht einen Wert</translation>
    </message>
    <message>
        <source>unknown format &apos;%1&apos;; use text, csv or json</source>
        <translation>unbekanntes Format &apos;%1&apos;; text, csv oder json verwenden</translation>
    </message>
    <message>
        <source>status prints text or json, not csv</source>
        <translation>status gibt text oder json aus, nicht csv</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>missing command</source>
        <translation>Befehl fehlt</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl &apos;%1&apos;</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a month; give it as YYYYMM, such as 202403</source>
        <translation>&apos;%1&apos; ist kein Monat; als JJJJMM angeben, etwa 202403</translation>
    </message>
    <message>
        <source>the month %1 lies in the future</source>
        <translation>der Monat %1 liegt in der Zukunft</translation>
    </message>
    <message>
        <source>the output could not be written</source>
        <translation>die Ausgabe konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the output could not be written: %1</source>
        <translation>die Ausgabe konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Today:</source>
        <translation>Heute:</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>report needs a kind: log, daily, monthly or weekly</source>
        <translation>report braucht eine Art: log, daily, monthly oder weekly</translation>
    </message>
    <message>
        <source>unknown report &apos;%1&apos;; use log, daily, monthly or weekly</source>
        <translation>unbekannter Bericht &apos;%1&apos;; log, daily, monthly oder weekly verwenden</translation>
    </message>
    <message>
        <source>This week:</source>
        <translation>Diese Woche:</translation>
    </message>
    <message>
        <source>Week target:</source>
        <translation>Wochensoll:</translation>
    </message>
    <message>
        <source>Balance:</source>
        <translation>Saldo:</translation>
    </message>
    <message>
        <source>%1 takes no option &apos;%2&apos;</source>
        <translation>%1 kennt keine Option &apos;%2&apos;</translation>
    </message>
    <message>
        <source>fennick: %1
Today: %2</source>
        <translation>fennick: %1
Heute: %2</translation>
    </message>
    <message>
        <source>check in at %1</source>
        <translation>Kommen um %1</translation>
    </message>
    <message>
        <source>check out at %1</source>
        <translation>Gehen um %1</translation>
    </message>
    <message>
        <source>the check out after the check in at %1 is missing; give its time with &apos;fennick in --at HH:MM&apos; or --at &quot;YYYY-MM-DD HH:MM&quot;</source>
        <translation>das Gehen nach dem Kommen um %1 fehlt; seine Zeit mit &apos;fennick in --at HH:MM&apos; oder --at &quot;JJJJ-MM-TT HH:MM&quot; angeben</translation>
    </message>
    <message>
        <source>the check in after the check out at %1 is missing; give its time with &apos;fennick out --at HH:MM&apos; or --at &quot;YYYY-MM-DD HH:MM&quot;</source>
        <translation>das Kommen nach dem Gehen um %1 fehlt; seine Zeit mit &apos;fennick out --at HH:MM&apos; oder --at &quot;JJJJ-MM-TT HH:MM&quot; angeben</translation>
    </message>
    <message>
        <source>the time %1 lies outside %2 – %3, between the last punch and now; nothing was recorded</source>
        <translation>die Zeit %1 liegt außerhalb von %2 – %3, zwischen der letzten Stempelung und jetzt; nichts wurde gestempelt</translation>
    </message>
    <message>
        <source>no punch has been recorded yet; there is no check in to check out from</source>
        <translation>es gibt noch keine Stempelung; ohne Kommen kein Gehen</translation>
    </message>
    <message>
        <source>the log changed meanwhile; nothing was recorded</source>
        <translation>das Protokoll hat sich inzwischen geändert; nichts wurde gestempelt</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Recorded %1.</source>
        <translation>Gestempelt: %1.</translation>
    </message>
    <message>
        <source>nothing was recorded</source>
        <translation>nichts wurde gestempelt</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no time; give it as HH:MM or &quot;YYYY-MM-DD HH:MM&quot;</source>
        <translation>&apos;%1&apos; ist keine Zeit; bitte als HH:MM oder &quot;JJJJ-MM-TT HH:MM&quot; angeben</translation>
    </message>
    <message>
        <source>no punch is missing: --at gives the time of a forgotten punch; nothing was recorded</source>
        <translation>keine Stempelung fehlt: --at gibt die Zeit einer vergessenen Stempelung an; nichts wurde gestempelt</translation>
    </message>
    <message>
        <source>there is no punch to undo</source>
        <translation>es gibt keine Stempelung, die rückgängig gemacht werden kann</translation>
    </message>
    <message>
        <source>the last record of %1 is not as fennick wrote it; nothing was undone</source>
        <translation>der letzte Eintrag in %1 ist nicht so, wie fennick ihn geschrieben hat; nichts wurde rückgängig gemacht</translation>
    </message>
    <message>
        <source>Removed %1.</source>
        <translation>Entfernt: %1.</translation>
    </message>
    <message>
        <source>%1 cannot be read; nothing was undone</source>
        <translation>%1 kann nicht gelesen werden; nichts wurde rückgängig gemacht</translation>
    </message>
    <message>
        <source>Log folder:</source>
        <translation>Protokollordner:</translation>
    </message>
    <message>
        <source>Usage: fennick in [--at TIME]
       fennick out [--at TIME]
       fennick toggle | undo
       fennick merge
       fennick report log|daily|monthly|weekly [--month YYYYMM] [--format text|csv|json]
       fennick status [--format text|json]
       fennick --help | --version
       fennick              (opens the check-in window)

A personal time clock. From the terminal it punches as its buttons do and
prints what its windows show:
  in               check in
  out              check out
  toggle           check out when checked in, else check in
  undo             remove the newest punch, if it is still the last record
  merge            merge the conflict copies a file-sync tool saved beside
                   a month file into it, then remove them
  report log       the month&apos;s punches
  report daily     the time worked on each day of the month, and the total
  report monthly   the time worked in each of the twelve months ending with
                   the month, and the total
  report weekly    the time worked in each ISO week touching the month and
                   the month&apos;s total; with a target set in Preferences,
                   each week&apos;s target and difference and the month&apos;s balance
  status           checked in or out, the last punch and today&apos;s time; with
                   a target, this week&apos;s time, its target and the balance

Options:
  --at TIME        the time of a forgotten punch: HH:MM today or
                   &quot;YYYY-MM-DD HH:MM&quot;, not before the last punch, not
                   after now
  --month YYYYMM   the month to report (default: the current month)
  --format FORMAT  text (default), csv or json; csv and json use fixed
                   keys, ISO 8601 times and durations in seconds
  -h, --help       show this help and exit
  -v, --version    show the version and exit

Punches take the log folder&apos;s lock, so they are safe to run while fennick
is open. Exit status: 0 on success, 1 when a file could not be written or
read, 2 for bad arguments or a refused punch (nothing changed).
</source>
        <translation>Aufruf: fennick in [--at ZEIT]
       fennick out [--at ZEIT]
       fennick toggle | undo
       fennick merge
       fennick report log|daily|monthly|weekly [--month JJJJMM] [--format text|csv|json]
       fennick status [--format text|json]
       fennick --help | --version
       fennick              (öffnet das Stempelfenster)

Eine persönliche Stempeluhr. Im Terminal stempelt sie wie ihre Knöpfe und
gibt aus, was ihre Fenster zeigen:
  in               kommen
  out              gehen
  toggle           gehen, wenn man gekommen ist, sonst kommen
  undo             die neueste Stempelung entfernen, wenn sie noch der letzte
                   Eintrag ist
  merge            die Konfliktkopien, die ein Sync-Programm neben einer
                   Monatsdatei abgelegt hat, in sie übernehmen und dann
                   entfernen
  report log       die Stempelungen des Monats
  report daily     die Arbeitszeit jedes Tages des Monats und die Summe
  report monthly   die Arbeitszeit jedes der zwölf Monate bis zu diesem
                   Monat und die Summe
  report weekly    die Arbeitszeit jeder ISO-Woche, die den Monat berührt,
                   und die Summe des Monats; mit einem Soll in den
                   Einstellungen auch Soll und Differenz jeder Woche und
                   der Saldo des Monats
  status           ob man gekommen oder gegangen ist, die letzte Stempelung
                   und die heutige Arbeitszeit; mit einem Soll auch die
                   Arbeitszeit dieser Woche, ihr Soll und der Saldo

Optionen:
  --at ZEIT        die Zeit einer vergessenen Stempelung: HH:MM heute oder
                   &quot;JJJJ-MM-TT HH:MM&quot;, nicht vor der letzten Stempelung,
                   nicht nach jetzt
  --month JJJJMM   der Monat des Berichts (Vorgabe: der laufende Monat)
  --format FORMAT  text (Vorgabe), csv oder json; csv und json haben feste
                   Schlüssel, Zeiten nach ISO 8601 und Dauern in Sekunden
  -h, --help       diese Hilfe zeigen und beenden
  -v, --version    die Version zeigen und beenden

Stempelungen sperren den Protokollordner; sie können also laufen, während
fennick geöffnet ist. Rückgabewert: 0 bei Erfolg, 1 wenn eine Datei nicht
geschrieben oder gelesen werden konnte, 2 bei falschen Argumenten oder einer
abgelehnten Stempelung (nichts wurde geändert).
</translation>
    </message>
    <message>
        <source>%1 has conflict copies, counted once until &apos;fennick merge&apos;: %2</source>
        <translation>%1 hat Konfliktkopien, bis &apos;fennick merge&apos; einmal gezählt: %2</translation>
    </message>
    <message>
        <source>There are no conflict copies to merge.</source>
        <translation>Es gibt keine Konfliktkopien zum Zusammenführen.</translation>
    </message>
    <message>
        <source>Merged %1 into %2.</source>
        <translation>%1 in %2 zusammengeführt.</translation>
    </message>
</context>
<context>
    <name>fennick::ConflictNotice</name>
    <message>
        <source>Merge</source>
        <translation>Zusammenführen</translation>
    </message>
    <message>
        <source>Writes every punch of the copies into the month file and removes the copies; Edit › Undo takes it back.</source>
        <translation>Schreibt jede Stempelung der Kopien in die Monatsdatei und entfernt die Kopien; Bearbeiten › Rückgängig nimmt es zurück.</translation>
    </message>
    <message>
        <source>A file-sync tool saved conflict copies; their punches count once with their month until merged:</source>
        <translation>Ein Sync-Programm hat Konfliktkopien abgelegt; ihre Stempelungen zählen bis zum Zusammenführen einmal mit ihrem Monat:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>fennick::Conflicts</name>
    <message>
        <source>%1 cannot be read: %2; nothing was merged.</source>
        <translation>%1 kann nicht gelesen werden: %2; nichts wurde zusammengeführt.</translation>
    </message>
    <message>
        <source>Merge Conflict Copies</source>
        <translation>Konfliktkopien zusammenführen</translation>
    </message>
    <message>
        <source>%1 could not be written: %2; nothing was merged.</source>
        <translation>%1 konnte nicht geschrieben werden: %2; nichts wurde zusammengeführt.</translation>
    </message>
</context>
<context>
    <name>fennick::DailyChart</name>
    <message>
        <source>Hours worked per day</source>
        <translation>Arbeitsstunden pro Tag</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
</context>
<context>
    <name>fennick::FolderChoiceText</name>
    <message>
        <source>Choose the Time Log Folder</source>
        <translation>Ordner der Zeitprotokolle wählen</translation>
    </message>
    <message>
        <source>Time Log Folder</source>
        <translation>Ordner der Zeitprotokolle</translation>
    </message>
    <message>
        <source>Keep the time log in %1?</source>
        <translation>Die Zeitprotokolle in %1 führen?</translation>
    </message>
    <message>
        <source>The month files are in %1. Move them to the new folder, or use the new folder as it is, for example a synced folder that already holds them.</source>
        <translation>Die Monatsdateien liegen in %1. Verschieben Sie sie in den neuen Ordner, oder verwenden Sie den neuen Ordner, wie er ist, etwa einen synchronisierten Ordner, der sie schon enthält.</translation>
    </message>
    <message>
        <source>&amp;Move the Month Files There</source>
        <translation>Monatsdateien dorthin &amp;verschieben</translation>
    </message>
    <message>
        <source>&amp;Use the Folder as It Is</source>
        <translation>Ordner &amp;unverändert verwenden</translation>
    </message>
    <message>
        <source>The month files were not moved; the time log stays in %1.

%2</source>
        <translation>Die Monatsdateien wurden nicht verschoben; die Zeitprotokolle bleiben in %1.

%2</translation>
    </message>
    <message>
        <source>The month files were moved to %1, but a file could not be removed from the old folder; nothing is lost.

%2</source>
        <translation>Die Monatsdateien wurden nach %1 verschoben, aber eine Datei konnte nicht aus dem alten Ordner entfernt werden; nichts ist verloren.

%2</translation>
    </message>
    <message>
        <source>The time log stays in %1.

%2</source>
        <translation>Die Zeitprotokolle bleiben in %1.

%2</translation>
    </message>
</context>
<context>
    <name>fennick::FolderMoveText</name>
    <message>
        <source>the new folder is the old one or lies inside it</source>
        <translation>der neue Ordner ist der alte oder liegt darin</translation>
    </message>
    <message>
        <source>its name is taken in the new folder</source>
        <translation>der Name ist im neuen Ordner schon vergeben</translation>
    </message>
    <message>
        <source>the copy reads back differently</source>
        <translation>die Kopie weicht beim Zurücklesen ab</translation>
    </message>
    <message>
        <source>the settings could not be written</source>
        <translation>die Einstellungen konnten nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>fennick::LogEditor</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 has changed since it was shown; nothing was changed.</source>
        <translation>%1 hat sich geändert, seit es angezeigt wurde; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Check In</source>
        <translation>Kommen</translation>
    </message>
    <message>
        <source>Check Out</source>
        <translation>Gehen</translation>
    </message>
    <message>
        <source>Change %1 to %2</source>
        <translation>%1 auf %2 ändern</translation>
    </message>
    <message>
        <source>The month file for %1 cannot be made.</source>
        <translation>Die Monatsdatei für %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Delete %1 at %2</source>
        <translation>%1 um %2 löschen</translation>
    </message>
    <message>
        <source>Delete Punch</source>
        <translation>Stempelung löschen</translation>
    </message>
    <message>
        <source>The month file for %1 cannot be made or read.</source>
        <translation>Die Monatsdatei für %1 kann nicht angelegt oder gelesen werden.</translation>
    </message>
    <message>
        <source>Insert %1 at %2</source>
        <translation>%1 um %2 einfügen</translation>
    </message>
</context>
<context>
    <name>fennick::LogHistory</name>
    <message>
        <source>%1 has changed since; nothing was undone.</source>
        <translation>%1 hat sich inzwischen geändert; nichts wurde rückgängig gemacht.</translation>
    </message>
    <message>
        <source>The last record of %1 is no longer the punch to undo; nothing was undone.</source>
        <translation>Der letzte Eintrag in %1 ist nicht mehr die Stempelung, die rückgängig gemacht werden soll; nichts wurde rückgängig gemacht.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>There is nothing to undo.</source>
        <translation>Es gibt nichts rückgängig zu machen.</translation>
    </message>
    <message>
        <source>There is nothing to redo.</source>
        <translation>Es gibt nichts zu wiederholen.</translation>
    </message>
    <message>
        <source>%1 has changed since; nothing was redone.</source>
        <translation>%1 hat sich inzwischen geändert; nichts wurde wiederholt.</translation>
    </message>
</context>
<context>
    <name>fennick::MyController</name>
    <message>
        <source>Check-In &amp;Window</source>
        <translation>&amp;Stempelfenster</translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation>Ctrl+1</translation>
    </message>
    <message>
        <source>&amp;Log</source>
        <translation>&amp;Protokoll</translation>
    </message>
    <message>
        <source>Ctrl+2</source>
        <translation>Ctrl+2</translation>
    </message>
    <message>
        <source>&amp;Daily Sums</source>
        <translation>&amp;Tagessummen</translation>
    </message>
    <message>
        <source>Ctrl+3</source>
        <translation>Ctrl+3</translation>
    </message>
    <message>
        <source>&amp;Monthly Sums</source>
        <translation>&amp;Monatssummen</translation>
    </message>
    <message>
        <source>Ctrl+4</source>
        <translation>Ctrl+4</translation>
    </message>
    <message>
        <source>Check &amp;In</source>
        <translation>&amp;Kommen</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Check &amp;Out</source>
        <translation>&amp;Gehen</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Preferences…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>Print Pre&amp;view…</source>
        <translation>Druck&amp;vorschau…</translation>
    </message>
    <message>
        <source>Ctrl+Shift+P</source>
        <translation>Ctrl+Shift+P</translation>
    </message>
    <message>
        <source>Export P&amp;DF…</source>
        <translation>Als P&amp;DF exportieren…</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Export &amp;CSV…</source>
        <translation>Als &amp;CSV exportieren…</translation>
    </message>
    <message>
        <source>Ctrl+Shift+E</source>
        <translation>Ctrl+Shift+E</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Punch</source>
        <translation>&amp;Stempeln</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>&amp;Change Punch Time…</source>
        <translation>Stempelzeit ä&amp;ndern …</translation>
    </message>
    <message>
        <source>F2</source>
        <translation>F2</translation>
    </message>
    <message>
        <source>&amp;Delete Punch…</source>
        <translation>Stempelung &amp;löschen …</translation>
    </message>
    <message>
        <source>&amp;Insert Punch…</source>
        <translation>Stempelung &amp;einfügen …</translation>
    </message>
    <message>
        <source>Ctrl+Shift+I</source>
        <translation>Ctrl+Shift+I</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>W&amp;eekly Sums</source>
        <translation>&amp;Wochensummen</translation>
    </message>
    <message>
        <source>Ctrl+5</source>
        <translation>Ctrl+5</translation>
    </message>
    <message>
        <source>The log was not changed</source>
        <translation>Das Protokoll wurde nicht geändert</translation>
    </message>
    <message>
        <source>This month has conflict copies; merge them first.</source>
        <translation>Dieser Monat hat Konfliktkopien; führen Sie sie zuerst zusammen.</translation>
    </message>
</context>
<context>
    <name>fennick::Notifier</name>
    <message>
        <source>Check Out</source>
        <translation>Gehen</translation>
    </message>
</context>
<context>
    <name>fennick::PrefWindow</name>
    <message>
        <source>Open in File &amp;Manager</source>
        <translation>Im &amp;Dateimanager öffnen</translation>
    </message>
    <message>
        <source>fennick Preferences</source>
        <translation>fennick – Einstellungen</translation>
    </message>
    <message>
        <source>Time log folder:</source>
        <translation>Ordner der Zeitprotokolle:</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>Target hours per weekday</source>
        <translation>Sollstunden je Wochentag</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source> h</source>
        <translation> h</translation>
    </message>
    <message>
        <source>Daily at:</source>
        <translation>Täglich um:</translation>
    </message>
    <message>
        <source>Start fennick when I log in</source>
        <translation>fennick bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Reminders while checked in</source>
        <translation>Erinnerungen während der Anwesenheit</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>After:</source>
        <translation>Nach:</translation>
    </message>
    <message>
        <source>C&amp;hoose…</source>
        <translation>Aus&amp;wählen …</translation>
    </message>
</context>
<context>
    <name>fennick::PunchDialog</name>
    <message>
        <source>&amp;Year</source>
        <translation>&amp;Jahr</translation>
    </message>
    <message>
        <source>&amp;Month</source>
        <translation>&amp;Monat</translation>
    </message>
    <message>
        <source>&amp;Day</source>
        <translation>&amp;Tag</translation>
    </message>
    <message>
        <source>&amp;Hour</source>
        <translation>&amp;Stunde</translation>
    </message>
    <message>
        <source>M&amp;inute</source>
        <translation>M&amp;inute</translation>
    </message>
    <message>
        <source>&amp;Punch:</source>
        <translation>&amp;Stempelung:</translation>
    </message>
    <message>
        <source>Not after %1</source>
        <translation>Nicht nach %1</translation>
    </message>
    <message>
        <source>Between %1 and %2</source>
        <translation>Zwischen %1 und %2</translation>
    </message>
    <message>
        <source>Enter a time between the punches before and after this one.</source>
        <translation>Bitte eine Zeit zwischen der Stempelung davor und der danach eingeben.</translation>
    </message>
</context>
<context>
    <name>fennick::PunchEdits</name>
    <message>
        <source>No punch to edit</source>
        <translation>Keine Stempelung zum Bearbeiten</translation>
    </message>
    <message>
        <source>The month file has changed since it was shown.</source>
        <translation>Die Monatsdatei hat sich geändert, seit sie angezeigt wurde.</translation>
    </message>
    <message>
        <source>The log was not changed</source>
        <translation>Das Protokoll wurde nicht geändert</translation>
    </message>
    <message>
        <source>Change Punch Time</source>
        <translation>Stempelzeit ändern</translation>
    </message>
    <message>
        <source>Delete the %1 of %2? You can undo it with Edit › Undo.</source>
        <translation>%1 vom %2 löschen? Mit Bearbeiten › Rückgängig lässt es sich zurücknehmen.</translation>
    </message>
    <message>
        <source>Delete Punch</source>
        <translation>Stempelung löschen</translation>
    </message>
    <message>
        <source>Insert Punch</source>
        <translation>Stempelung einfügen</translation>
    </message>
    <message>
        <source>Nothing was undone</source>
        <translation>Nichts wurde rückgängig gemacht</translation>
    </message>
    <message>
        <source>Nothing was redone</source>
        <translation>Nichts wurde wiederholt</translation>
    </message>
    <message>
        <source>The punch was not recorded</source>
        <translation>Die Stempelung wurde nicht gespeichert</translation>
    </message>
    <message>
        <source>%1 could not be written: %2. Nothing was recorded.</source>
        <translation>%1 konnte nicht geschrieben werden: %2. Nichts wurde gespeichert.</translation>
    </message>
    <message>
        <source>The conflict copies were not merged</source>
        <translation>Die Konfliktkopien wurden nicht zusammengeführt</translation>
    </message>
</context>
<context>
    <name>fennick::ReminderText</name>
    <message>
        <source>Checked in for more than an hour — check out?</source>
        <translation>Seit mehr als einer Stunde eingestempelt – ausstempeln?</translation>
    </message>
    <message>
        <source>Checked in for more than %1 hours — check out?</source>
        <translation>Seit mehr als %1 Stunden eingestempelt – ausstempeln?</translation>
    </message>
    <message>
        <source>Still checked in since %1 — check out?</source>
        <translation>Noch eingestempelt seit %1 – ausstempeln?</translation>
    </message>
</context>
<context>
    <name>fennick::ReportWindow</name>
    <message>
        <source>&amp;Scale:</source>
        <translation>&amp;Skalierung:</translation>
    </message>
    <message>
        <source>◀ Earlier</source>
        <translation>◀ Früher</translation>
    </message>
    <message>
        <source>Later ▶</source>
        <translation>Später ▶</translation>
    </message>
    <message>
        <source>Show the twelve months before these (Alt+Left)</source>
        <translation>Die zwölf Monate davor zeigen (Alt+Links)</translation>
    </message>
    <message>
        <source>Show the previous month with a time log (Alt+Left)</source>
        <translation>Den vorigen Monat mit Zeitprotokoll zeigen (Alt+Links)</translation>
    </message>
    <message>
        <source>Show the twelve months after these (Alt+Right)</source>
        <translation>Die zwölf Monate danach zeigen (Alt+Rechts)</translation>
    </message>
    <message>
        <source>Show the next month with a time log (Alt+Right)</source>
        <translation>Den nächsten Monat mit Zeitprotokoll zeigen (Alt+Rechts)</translation>
    </message>
    <message>
        <source>Earlier</source>
        <translation>Früher</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Print %1</source>
        <translation>%1 drucken</translation>
    </message>
    <message>
        <source>Printing failed</source>
        <translation>Drucken fehlgeschlagen</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>Der Bericht konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>Print Preview – %1</source>
        <translation>Druckvorschau – %1</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message>
        <source>Export failed</source>
        <translation>Export fehlgeschlagen</translation>
    </message>
    <message>
        <source>The report could not be written to %1.</source>
        <translation>Der Bericht konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Als CSV exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Nothing printed</source>
        <translation>Nichts gedruckt</translation>
    </message>
    <message numerus="yes">
        <source>At this scale the report has %n page(s); the chosen pages are not among them.</source>
        <translation>
            <numerusform>Bei dieser Skalierung hat der Bericht %n Seite; die gewählten Seiten gehören nicht dazu.</numerusform>
            <numerusform>Bei dieser Skalierung hat der Bericht %n Seiten; die gewählten Seiten gehören nicht dazu.</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Paper size:</source>
        <translation>&amp;Papierformat:</translation>
    </message>
    <message>
        <source>&amp;Fit to page width</source>
        <translation>An Seiten&amp;breite anpassen</translation>
    </message>
    <message>
        <source>Shrinks the table where its widest texts would be cut; never enlarges it</source>
        <translation>Verkleinert die Tabelle, wo ihre breitesten Texte abgeschnitten würden; vergrößert sie nie</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>&amp;Gehe zu</translation>
    </message>
    <message>
        <source>&amp;Earlier</source>
        <translation>&amp;Früher</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>&amp;Später</translation>
    </message>
    <message>
        <source>&amp;This Month</source>
        <translation>&amp;Dieser Monat</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Export &amp;CSV…</source>
        <translation>Als &amp;CSV exportieren…</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>%1 cannot be read (%2); it counts as empty here.</source>
        <translation>%1 kann nicht gelesen werden (%2); sie zählt hier als leer.</translation>
    </message>
</context>
<context>
    <name>fennick::TimeClock</name>
    <message>
        <source>Check In at %1</source>
        <translation>Kommen um %1</translation>
    </message>
    <message>
        <source>Check Out at %1</source>
        <translation>Gehen um %1</translation>
    </message>
</context>
<context>
    <name>fennick::TimeEntryDialog</name>
    <message>
        <source>Last punch:</source>
        <translation>Letzte Stempelung:</translation>
    </message>
    <message>
        <source>Pressed at:</source>
        <translation>Gedrückt um:</translation>
    </message>
    <message>
        <source>&amp;Year</source>
        <translation>&amp;Jahr</translation>
    </message>
    <message>
        <source>&amp;Month</source>
        <translation>&amp;Monat</translation>
    </message>
    <message>
        <source>&amp;Day</source>
        <translation>&amp;Tag</translation>
    </message>
    <message>
        <source>&amp;Hour</source>
        <translation>&amp;Stunde</translation>
    </message>
    <message>
        <source>M&amp;inute</source>
        <translation>M&amp;inute</translation>
    </message>
</context>
</TS>
