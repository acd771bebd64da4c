<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Announcer</name>
    <message>
        <source>Announcements</source>
        <translation>Ansagen</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>no display to show the window on (DISPLAY is not set)</source>
        <translation>keine Anzeige, auf der das Fenster erscheinen kann (DISPLAY ist nicht gesetzt)</translation>
    </message>
    <message>
        <source>no display to show the window on (DISPLAY &quot;%1&quot; cannot be reached)</source>
        <translation>keine Anzeige, auf der das Fenster erscheinen kann (DISPLAY „%1“ ist nicht erreichbar)</translation>
    </message>
    <message>
        <source>not opened: %1</source>
        <translation>nicht geöffnet: %1</translation>
    </message>
    <message>
        <source>Exports the CD catalogue CATALOGUE.ini to OUT.txt without a window.</source>
        <translation>Exportiert den CD-Katalog CATALOGUE.ini ohne Fenster nach OUT.txt.</translation>
    </message>
    <message>
        <source>Export: headings begin with the title, not the artist.</source>
        <translation>Export: Überschriften beginnen mit dem Titel, nicht mit dem Interpreten.</translation>
    </message>
    <message>
        <source>Export: include the volume.</source>
        <translation>Export: die Volume-Kennung aufnehmen.</translation>
    </message>
    <message>
        <source>Export: include the genre.</source>
        <translation>Export: das Genre aufnehmen.</translation>
    </message>
    <message>
        <source>Export: include the number of tracks.</source>
        <translation>Export: die Anzahl der Titel aufnehmen.</translation>
    </message>
    <message>
        <source>Export: joins the two parts of a heading (default &quot; - &quot;).</source>
        <translation>Export: verbindet die beiden Teile einer Überschrift (Vorgabe &quot; - &quot;).</translation>
    </message>
    <message>
        <source>Export: the line before each disc&apos;s tracks (default 35 &quot;=&quot;).</source>
        <translation>Export: die Zeile vor den Titeln jeder CD (Vorgabe 35 &quot;=&quot;).</translation>
    </message>
    <message>
        <source>Edits INI files, or exports a CD catalogue without a window.</source>
        <translation>Bearbeitet INI-Dateien oder exportiert einen CD-Katalog ohne Fenster.</translation>
    </message>
    <message>
        <source>Ends the options, so that a FILE whose name starts with &quot;-&quot; can follow.</source>
        <translation>Beendet die Optionen, sodass eine DATEI folgen kann, deren Name mit &quot;-&quot; beginnt.</translation>
    </message>
    <message>
        <source>The INI file to open.</source>
        <translation>Die zu öffnende INI-Datei.</translation>
    </message>
    <message>
        <source>
Export form:
  %1 --export-cd CATALOGUE.ini OUT.txt [--title-first] [--volume] [--genre]
      [--numtracks] [--separator TEXT] [--separator-line TEXT]
</source>
        <translation>
Export-Form:
  %1 --export-cd CATALOGUE.ini OUT.txt [--title-first] [--volume] [--genre]
      [--numtracks] [--separator TEXT] [--separator-line TEXT]
</translation>
    </message>
    <message>
        <source>--export-cd needs a catalogue and an output file.</source>
        <translation>--export-cd braucht einen Katalog und eine Ausgabedatei.</translation>
    </message>
    <message>
        <source>--%1 is only meaningful with --export-cd.</source>
        <translation>--%1 ist nur zusammen mit --export-cd sinnvoll.</translation>
    </message>
    <message>
        <source>ignored: only one file is opened at a time</source>
        <translation>ignoriert: es wird nur eine Datei auf einmal geöffnet</translation>
    </message>
    <message>
        <source>Reads or changes one INI file without a window; given first (see below).</source>
        <translation>Liest oder ändert eine INI-Datei ohne Fenster; steht zuerst (siehe unten).</translation>
    </message>
    <message>
        <source>--%1 must be the first argument.</source>
        <translation>--%1 muss das erste Argument sein.</translation>
    </message>
    <message>
        <source>argument %1 is not valid text in the locale&apos;s encoding (%2); nothing was done</source>
        <translation>Argument %1 ist kein gültiger Text in der Zeichenkodierung der Locale (%2); es wurde nichts getan</translation>
    </message>
    <message>
        <source>
INI file forms (no window; a name is taken without the blanks around it):
</source>
        <translation>
INI-Datei-Formen (ohne Fenster; ein Name gilt ohne die Leerzeichen um ihn):
</translation>
    </message>
    <message>
        <source>
Exit status:
  0   success
  1   no such file, section or option; no display for the window; the export failed
  2   an INI file command cannot read or write its file
  64  a usage error: a mistake on the command line, a name or value that is refused
</source>
        <translation>
Rückgabewert:
  0   Erfolg
  1   keine solche Datei, kein solcher Abschnitt, keine solche Option; keine Anzeige für das Fenster; der Export ist gescheitert
  2   ein INI-Dateibefehl kann seine Datei nicht lesen oder schreiben
  64  ein Bedienfehler: ein Fehler in der Befehlszeile, ein abgelehnter Name oder Wert
</translation>
    </message>
</context>
<context>
    <name>DiskChangeBar</name>
    <message>
        <source>The file has been deleted on disk.</source>
        <translation>Die Datei wurde auf dem Datenträger gelöscht.</translation>
    </message>
    <message>
        <source>The file has changed on disk.</source>
        <translation>Die Datei wurde auf dem Datenträger geändert.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>Neu &amp;laden</translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <translation>Ignorie&amp;ren</translation>
    </message>
    <message>
        <source>Reads the file again; changes not saved are lost</source>
        <translation>Liest die Datei neu ein; nicht gespeicherte Änderungen gehen verloren</translation>
    </message>
    <message>
        <source>Keeps the document as it is and hides this bar</source>
        <translation>Behält das Dokument, wie es ist, und blendet diese Leiste aus</translation>
    </message>
    <message>
        <source>Save writes the file again.</source>
        <translation>Speichern schreibt die Datei erneut.</translation>
    </message>
    <message>
        <source>Reload reads it again.</source>
        <translation>Neu laden liest sie erneut ein.</translation>
    </message>
</context>
<context>
    <name>DocumentTree</name>
    <message>
        <source>Section Name / Option Name</source>
        <translation>Abschnittsname / Optionsname</translation>
    </message>
    <message>
        <source>Option Value</source>
        <translation>Optionswert</translation>
    </message>
</context>
<context>
    <name>ExportCatalogue</name>
    <message>
        <source>The export file %1 is the open document&apos;s own file; choose another name for the export.</source>
        <translation>Die Exportdatei %1 ist die Datei des geöffneten Dokuments; wählen Sie einen anderen Namen für den Export.</translation>
    </message>
    <message>
        <source>Export Successfully Done.</source>
        <translation>Export erfolgreich abgeschlossen.</translation>
    </message>
</context>
<context>
    <name>ExportFile</name>
    <message>
        <source>Invalid filename</source>
        <translation>Ungültiger Dateiname</translation>
    </message>
    <message>
        <source>File access denied</source>
        <translation>Dateizugriff verweigert</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Zu viele offene Dateien</translation>
    </message>
    <message>
        <source>I/O error %1</source>
        <translation>E/A-Fehler %1</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Previous</source>
        <translation>Vorheriger</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächster</translation>
    </message>
    <message>
        <source>Passed the end, continued from the top</source>
        <translation>Ende erreicht, von oben fortgesetzt</translation>
    </message>
    <message>
        <source>Passed the top, continued from the end</source>
        <translation>Anfang erreicht, vom Ende fortgesetzt</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Text to find</source>
        <translation>Zu suchender Text</translation>
    </message>
    <message>
        <source>Fin&amp;d:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>&amp;Names</source>
        <translation>&amp;Namen</translation>
    </message>
    <message>
        <source>&amp;Values</source>
        <translation>&amp;Werte</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>&amp;Show only matches</source>
        <translation>Nur &amp;Treffer zeigen</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Vorheriger</translation>
    </message>
    <message>
        <source>Ne&amp;xt</source>
        <translation>Nä&amp;chster</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Find options</source>
        <translation>Suchoptionen</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Vorheriger Treffer</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Nächster Treffer</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Suchleiste schließen</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Matches: %1</source>
        <translation>Treffer: %1</translation>
    </message>
    <message>
        <source>Clear the text to find</source>
        <translation>Suchtext löschen</translation>
    </message>
    <message>
        <source>Find options menu</source>
        <translation>Menü Suchoptionen</translation>
    </message>
    <message>
        <source>Find bar opened</source>
        <translation>Suchleiste geöffnet</translation>
    </message>
</context>
<context>
    <name>IniCommand</name>
    <message>
        <source>FILE SECTION KEY</source>
        <translation>FILE SECTION KEY</translation>
    </message>
    <message>
        <source>FILE SECTION KEY VALUE</source>
        <translation>FILE SECTION KEY VALUE</translation>
    </message>
    <message>
        <source>FILE SECTION [KEY]</source>
        <translation>FILE SECTION [KEY]</translation>
    </message>
    <message>
        <source>FILE [SECTION]</source>
        <translation>FILE [SECTION]</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 gibt es nicht</translation>
    </message>
    <message>
        <source>%1 has no section [%2]</source>
        <translation>%1 hat keinen Abschnitt [%2]</translation>
    </message>
    <message>
        <source>%1 was not changed: a name or value cannot hold a line break</source>
        <translation>%1 wurde nicht geändert: ein Name oder Wert kann keinen Zeilenumbruch enthalten</translation>
    </message>
    <message>
        <source>%1 was not read: a name cannot hold a line break</source>
        <translation>%1 wurde nicht gelesen: ein Name kann keinen Zeilenumbruch enthalten</translation>
    </message>
    <message>
        <source>%1 has no option &quot;%3&quot; in section [%2]</source>
        <translation>%1 hat keine Option „%3“ im Abschnitt [%2]</translation>
    </message>
    <message>
        <source>%1 was not changed: an option name cannot hold &quot;=&quot; or begin with &quot;[&quot;, &quot;;&quot; or &quot;#&quot;</source>
        <translation>%1 wurde nicht geändert: ein Optionsname kann kein „=“ enthalten und nicht mit „[“, „;“ oder „#“ beginnen</translation>
    </message>
    <message>
        <source>%1 takes %2.</source>
        <translation>%1 nimmt %2.</translation>
    </message>
    <message>
        <source>Unable to write to the standard output</source>
        <translation>In die Standardausgabe kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>prints the value</source>
        <translation>gibt den Wert aus</translation>
    </message>
    <message>
        <source>writes the value; every other byte stays</source>
        <translation>schreibt den Wert; jedes andere Byte bleibt</translation>
    </message>
    <message>
        <source>removes the option, or the section</source>
        <translation>entfernt die Option oder den Abschnitt</translation>
    </message>
    <message>
        <source>prints the sections, or the section&apos;s options</source>
        <translation>gibt die Abschnitte oder die Optionen des Abschnitts aus</translation>
    </message>
</context>
<context>
    <name>LayoutLossBar</name>
    <message>
        <source>&amp;Keep Them</source>
        <translation>Behalt&amp;en</translation>
    </message>
    <message>
        <source>Turns on View, Keep Comments and Layout, so that a save changes only what was edited</source>
        <translation>Schaltet Ansicht, Kommentare und Layout behalten ein, sodass ein Speichern nur ändert, was bearbeitet wurde</translation>
    </message>
    <message>
        <source>Dis&amp;miss</source>
        <translation>Nicht &amp;mehr warnen</translation>
    </message>
    <message>
        <source>Hides this bar for this file; a save still removes them</source>
        <translation>Blendet diese Leiste für diese Datei aus; ein Speichern entfernt sie trotzdem</translation>
    </message>
    <message>
        <source>1 comment line</source>
        <translation>1 Kommentarzeile</translation>
    </message>
    <message>
        <source>%1 comment lines</source>
        <translation>%1 Kommentarzeilen</translation>
    </message>
    <message>
        <source>1 blank line</source>
        <translation>1 Leerzeile</translation>
    </message>
    <message>
        <source>%1 blank lines</source>
        <translation>%1 Leerzeilen</translation>
    </message>
    <message>
        <source>1 repeated option</source>
        <translation>1 wiederholte Option</translation>
    </message>
    <message>
        <source>%1 repeated options</source>
        <translation>%1 wiederholte Optionen</translation>
    </message>
    <message>
        <source>1 other line</source>
        <translation>1 weitere Zeile</translation>
    </message>
    <message>
        <source>%1 other lines</source>
        <translation>%1 weitere Zeilen</translation>
    </message>
    <message>
        <source>1 section without options</source>
        <translation>1 Abschnitt ohne Optionen</translation>
    </message>
    <message>
        <source>%1 sections without options</source>
        <translation>%1 Abschnitte ohne Optionen</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 Zeile</translation>
    </message>
    <message>
        <source>%1 lines</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>Saving will change the spacing of %1 of this file.</source>
        <translation>Speichern ändert die Abstände in %1 dieser Datei.</translation>
    </message>
    <message>
        <source>Saving will remove %1 that this file holds.</source>
        <translation>Speichern entfernt %1 aus dieser Datei.</translation>
    </message>
    <message>
        <source>Saving will remove %1 that this file holds, and change the spacing of %2.</source>
        <translation>Speichern entfernt %1 aus dieser Datei und ändert die Abstände in %2.</translation>
    </message>
    <message>
        <source>Keep Them saves only what was edited.</source>
        <translation>Behalten speichert nur, was bearbeitet wurde.</translation>
    </message>
</context>
<context>
    <name>NameMark</name>
    <message>
        <source>Not saved: the name is empty</source>
        <translation>Nicht gespeichert: der Name ist leer</translation>
    </message>
    <message>
        <source>Not saved: the section has no option with a name</source>
        <translation>Nicht gespeichert: der Abschnitt hat keine Option mit Namen</translation>
    </message>
    <message>
        <source>Saved into the section &apos;%1&apos; above</source>
        <translation>Wird in den Abschnitt „%1“ weiter oben gespeichert</translation>
    </message>
    <message>
        <source>Saved as one entry with the option &apos;%1&apos; above; this value wins</source>
        <translation>Wird mit der Option „%1“ weiter oben als ein Eintrag gespeichert; dieser Wert gilt</translation>
    </message>
    <message>
        <source>Saved as one entry with the option &apos;%1&apos; above; the value of a later one wins</source>
        <translation>Wird mit der Option „%1“ weiter oben als ein Eintrag gespeichert; der Wert einer späteren gilt</translation>
    </message>
    <message>
        <source>Saved as one entry with the option &apos;%1&apos; below, whose value wins</source>
        <translation>Wird mit der Option „%1“ weiter unten als ein Eintrag gespeichert, deren Wert gilt</translation>
    </message>
    <message>
        <source>Loads back as &apos;%1&apos;</source>
        <translation>Wird als „%1“ wieder geladen</translation>
    </message>
    <message>
        <source>Loads back with the value &apos;%1&apos;</source>
        <translation>Wird mit dem Wert „%1“ wieder geladen</translation>
    </message>
    <message>
        <source>Not loaded back: a line that starts with &apos;;&apos; or &apos;#&apos; is a comment</source>
        <translation>Wird nicht wieder geladen: eine Zeile, die mit „;“ oder „#“ beginnt, ist ein Kommentar</translation>
    </message>
    <message>
        <source>Loads back as the section &apos;%1&apos;, which takes the options after it</source>
        <translation>Wird als Abschnitt „%1“ wieder geladen, der die folgenden Optionen übernimmt</translation>
    </message>
    <message>
        <source>Not loaded back: it reads as &apos;%1&apos;, and the option &apos;%1&apos; above is kept</source>
        <translation>Wird nicht wieder geladen: es liest sich als „%1“, und die Option „%1“ weiter oben bleibt</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Do you want to save the changes?</source>
        <translation>Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>Warnung!</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>A recovery copy of %1 from %2 was found. Recover it?</source>
        <translation>Eine Wiederherstellungskopie von %1 vom %2 wurde gefunden. Wiederherstellen?</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>Unable to write to the copy of your unsaved changes</source>
        <translation>Die Kopie Ihrer ungespeicherten Änderungen kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Unable to write to the settings store %1</source>
        <translation>In den Einstellungsspeicher %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Unable to open the settings store %1</source>
        <translation>Der Einstellungsspeicher %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Unable to open the settings key %1</source>
        <translation>Der Einstellungsschlüssel %1 kann nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>TIniFile</name>
    <message>
        <source>Unable to read %1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The file is larger than 1 GiB.</source>
        <translation>Die Datei ist größer als 1 GiB.</translation>
    </message>
    <message>
        <source>The file would be larger than 1 GiB, the most this editor opens.</source>
        <translation>Die Datei wäre größer als 1 GiB, mehr als dieser Editor öffnet.</translation>
    </message>
    <message>
        <source>Its encoding, Latin-1, cannot hold the new text.</source>
        <translation>Ihre Kodierung, Latin-1, kann den neuen Text nicht aufnehmen.</translation>
    </message>
    <message>
        <source>Another program is changing it: %1 exists. Try again once it is done, or remove that file if no program is changing it.</source>
        <translation>Ein anderes Programm ändert sie gerade: %1 existiert. Versuchen Sie es erneut, wenn es fertig ist, oder entfernen Sie diese Datei, falls kein Programm sie ändert.</translation>
    </message>
    <message>
        <source>Another program is changing it; try again once it is done.</source>
        <translation>Ein anderes Programm ändert sie gerade; versuchen Sie es erneut, wenn es fertig ist.</translation>
    </message>
    <message>
        <source>It must be rewritten where it stands, and its old content could not be kept meanwhile: %1</source>
        <translation>Sie muss an ihrer Stelle neu geschrieben werden, und ihr alter Inhalt konnte währenddessen nicht aufbewahrt werden: %1</translation>
    </message>
    <message>
        <source>It is a link; the copies of unsaved changes are kept only in a folder of your own, and this one is not used.</source>
        <translation>Es ist eine Verknüpfung; die Kopien ungespeicherter Änderungen werden nur in einem eigenen Ordner aufbewahrt, und dieser wird nicht verwendet.</translation>
    </message>
    <message>
        <source>It belongs to another user; the copies of unsaved changes are kept only in a folder of your own, and this one is not used.</source>
        <translation>Er gehört einem anderen Benutzer; die Kopien ungespeicherter Änderungen werden nur in einem eigenen Ordner aufbewahrt, und dieser wird nicht verwendet.</translation>
    </message>
    <message>
        <source>Permission denied.</source>
        <translation>Zugriff verweigert.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>The file is too large (a file-size limit or the file system&apos;s).</source>
        <translation>Die Datei ist zu groß (eine Grenze für die Dateigröße oder die des Dateisystems).</translation>
    </message>
    <message>
        <source>The file system is read-only.</source>
        <translation>Das Dateisystem ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Its folder does not exist.</source>
        <translation>Ihr Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Es ist ein Ordner.</translation>
    </message>
    <message>
        <source>Its name leads through too many links, or a circle of them.</source>
        <translation>Ihr Name führt über zu viele Verknüpfungen oder über einen Kreis von ihnen.</translation>
    </message>
    <message>
        <source>The file changed meanwhile: another program replaced, moved or made it; nothing was written.</source>
        <translation>Die Datei hat sich inzwischen geändert: Ein anderes Programm hat sie ersetzt, verschoben oder angelegt; es wurde nichts geschrieben.</translation>
    </message>
</context>
<context>
    <name>TfrmAboutDlg</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Version 1.8</source>
        <translation>Version 1.8</translation>
    </message>
    <message>
        <source>© 2026 The YorvSaldrix developers</source>
        <translation>© 2026 Die Entwickler von YorvSaldrix</translation>
    </message>
    <message>
        <source>Write to %1</source>
        <translation>Schreiben Sie an %1</translation>
    </message>
    <message>
        <source>Memory available to Windows:</source>
        <translation>Für Windows verfügbarer Speicher:</translation>
    </message>
    <message>
        <source>0 KB</source>
        <translation>0 KB</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TfrmSaldrixMain</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>New iNi file.</source>
        <translation>Neue iNi-Datei.</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Opens an existing iNi file.</source>
        <translation>Öffnet eine vorhandene iNi-Datei.</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Saves the current iNi file.</source>
        <translation>Speichert die aktuelle iNi-Datei.</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Saves the current work as an new iNi file.</source>
        <translation>Speichert die aktuelle Arbeit als neue iNi-Datei.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Closes the current iNi file.</source>
        <translation>Schließt die aktuelle iNi-Datei.</translation>
    </message>
    <message>
        <source>Export &amp;CDPlayer.iNi</source>
        <translation>&amp;CDPlayer.iNi exportieren</translation>
    </message>
    <message>
        <source>Exports the cdplayer.ini to an easy readable text file.</source>
        <translation>Exportiert die cdplayer.ini in eine gut lesbare Textdatei.</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application.</source>
        <translation>Beendet das Programm.</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>About the YorvSaldrix</source>
        <translation>Über YorvSaldrix</translation>
    </message>
    <message>
        <source>&amp;Add Section</source>
        <translation>Abschnitt &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Adds a new section</source>
        <translation>Fügt einen neuen Abschnitt hinzu</translation>
    </message>
    <message>
        <source>&amp;Delete Section</source>
        <translation>Abschnitt &amp;löschen</translation>
    </message>
    <message>
        <source>Deletes the selected section</source>
        <translation>Löscht den gewählten Abschnitt</translation>
    </message>
    <message>
        <source>&amp;Rename Section</source>
        <translation>Abschnitt &amp;umbenennen</translation>
    </message>
    <message>
        <source>Renames the selected section</source>
        <translation>Benennt den gewählten Abschnitt um</translation>
    </message>
    <message>
        <source>A&amp;dd Option</source>
        <translation>&amp;Option hinzufügen</translation>
    </message>
    <message>
        <source>Adds a new option</source>
        <translation>Fügt eine neue Option hinzu</translation>
    </message>
    <message>
        <source>Add Option</source>
        <translation>Option hinzufügen</translation>
    </message>
    <message>
        <source>De&amp;lete Option</source>
        <translation>Option l&amp;öschen</translation>
    </message>
    <message>
        <source>Deletes the selected option</source>
        <translation>Löscht die gewählte Option</translation>
    </message>
    <message>
        <source>Delete Option</source>
        <translation>Option löschen</translation>
    </message>
    <message>
        <source>Re&amp;name Option</source>
        <translation>Option u&amp;mbenennen</translation>
    </message>
    <message>
        <source>Renames the selected option</source>
        <translation>Benennt die gewählte Option um</translation>
    </message>
    <message>
        <source>&amp;Modify Option Value</source>
        <translation>Options&amp;wert ändern</translation>
    </message>
    <message>
        <source>Modifys value for the selected option</source>
        <translation>Ändert den Wert der gewählten Option</translation>
    </message>
    <message>
        <source>Delete &amp;Selection</source>
        <translation>&amp;Auswahl löschen</translation>
    </message>
    <message>
        <source>Deletes all that is selected</source>
        <translation>Löscht alles Ausgewählte</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Reopen</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>The file has changed on disk since it was opened. Overwrite it?</source>
        <translation>Die Datei wurde auf dem Datenträger geändert, seit sie geöffnet wurde. Überschreiben?</translation>
    </message>
    <message>
        <source>Add Section</source>
        <translation>Abschnitt hinzufügen</translation>
    </message>
    <message>
        <source>ALL selected items?</source>
        <translation>ALLE ausgewählten Einträge löschen?</translation>
    </message>
    <message>
        <source>option?</source>
        <translation>diese Option löschen?</translation>
    </message>
    <message>
        <source>section?</source>
        <translation>diesen Abschnitt löschen?</translation>
    </message>
    <message>
        <source>Do you really want to delete </source>
        <translation>Möchten Sie wirklich </translation>
    </message>
    <message>
        <source>Delete Selection</source>
        <translation>Auswahl löschen</translation>
    </message>
    <message>
        <source>Delete Section</source>
        <translation>Abschnitt löschen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>Su&amp;chen...</translation>
    </message>
    <message>
        <source>Finds a text in names and values</source>
        <translation>Sucht einen Text in Namen und Werten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Takes back the last change</source>
        <translation>Nimmt die letzte Änderung zurück</translation>
    </message>
    <message>
        <source>Makes the last change taken back again</source>
        <translation>Führt die zuletzt zurückgenommene Änderung wieder aus</translation>
    </message>
    <message>
        <source>Edit Value</source>
        <translation>Wert bearbeiten</translation>
    </message>
    <message>
        <source>Rename Section</source>
        <translation>Abschnitt umbenennen</translation>
    </message>
    <message>
        <source>Rename Option</source>
        <translation>Option umbenennen</translation>
    </message>
    <message>
        <source>Ini Files (*.ini);;All Files (*)</source>
        <translation>Ini-Dateien (*.ini);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Red&amp;o</source>
        <translation>W&amp;iederholen</translation>
    </message>
    <message>
        <source>Loading the file</source>
        <translation>Datei wird geladen</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>More tool bar buttons</source>
        <translation>Weitere Schaltflächen der Werkzeugleiste</translation>
    </message>
    <message>
        <source>Size grip</source>
        <translation>Größengriff</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Aus&amp;schneiden</translation>
    </message>
    <message>
        <source>Takes the selected rows out and keeps them for Paste</source>
        <translation>Nimmt die ausgewählten Zeilen heraus und behält sie zum Einfügen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copies the selected rows</source>
        <translation>Kopiert die ausgewählten Zeilen</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Puts copied rows, or INI text from another program, after the focused row</source>
        <translation>Fügt kopierte Zeilen oder INI-Text aus einem anderen Programm nach der fokussierten Zeile ein</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Expanded</source>
        <translation>Aufgeklappt</translation>
    </message>
    <message>
        <source>Collapsed</source>
        <translation>Zugeklappt</translation>
    </message>
    <message>
        <source>%1 menu</source>
        <translation>Menü %1</translation>
    </message>
    <message>
        <source>Pop-up menu</source>
        <translation>Kontextmenü</translation>
    </message>
    <message>
        <source>&amp;Keep Comments and Layout</source>
        <translation>&amp;Kommentare und Layout behalten</translation>
    </message>
    <message>
        <source>Saves only what was edited: comments, blank lines and spacing stay as the file holds them</source>
        <translation>Speichert nur, was bearbeitet wurde: Kommentare, Leerzeilen und Abstände bleiben, wie die Datei sie enthält</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Comments</source>
        <translation>Kommentar&amp;bereich</translation>
    </message>
    <message>
        <source>Shows the file&apos;s comments on the focused section or option</source>
        <translation>Zeigt die Kommentare der Datei zum ausgewählten Abschnitt oder zur Option</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Kommentare</translation>
    </message>
    <message>
        <source>Also in the file: %1</source>
        <translation>Auch in der Datei: %1</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Opens the user manual</source>
        <translation>Öffnet das Benutzerhandbuch</translation>
    </message>
    <message>
        <source>index.html</source>
        <comment>the file name of the user manual&apos;s page in this language</comment>
        <translation>index.de.html</translation>
    </message>
    <message>
        <source>The user manual is not installed.</source>
        <translation>Das Benutzerhandbuch ist nicht installiert.</translation>
    </message>
</context>
<context>
    <name>TfrmSaldrixProgress</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>TfrmSaldrixWizard</name>
    <message>
        <source>Export Wizard</source>
        <translation>Export-Assistent</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
    <message>
        <source>Please choose a FileName and Path to save the exported file.</source>
        <translation>Bitte wählen Sie Dateiname und Pfad für die exportierte Datei.</translation>
    </message>
    <message>
        <source>The Artist and Title of CD will be the first line of each paragraph.</source>
        <translation>Interpret und Titel der CD bilden die erste Zeile jedes Absatzes.</translation>
    </message>
    <message>
        <source>Do you want the flowing information as some extra row.</source>
        <translation>Möchten Sie die folgenden Angaben als zusätzliche Zeilen?</translation>
    </message>
    <message>
        <source>Which characters do want to use as horisontal separator between CDs?</source>
        <translation>Welche Zeichen möchten Sie als waagerechte Trennlinie zwischen den CDs?</translation>
    </message>
    <message>
        <source>You have done. Your selected choise looks like this.</source>
        <translation>Fertig. Ihre Auswahl sieht so aus.</translation>
    </message>
    <message>
        <source>Export To</source>
        <translation>Exportieren nach</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>PlayList M3U (*.m3u)</source>
        <translation>Wiedergabeliste M3U (*.m3u)</translation>
    </message>
    <message>
        <source>PlatList PLS (*.pls)</source>
        <translation>Wiedergabeliste PLS (*.pls)</translation>
    </message>
    <message>
        <source>PlayList File (*.plf)</source>
        <translation>Wiedergabeliste-Datei (*.plf)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>You can modify the existing or use the default Exports value.</source>
        <translation>Sie können den vorhandenen Wert ändern oder den Vorgabewert des Exports nehmen.</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <translation>&amp;Weiter &gt;</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>You can also specify some additional extentions like M3U, PLS or PLF.</source>
        <translation>Sie können auch andere Endungen wie M3U, PLS oder PLF angeben.</translation>
    </message>
    <message>
        <source>Use the arrow to change the position.</source>
        <translation>Mit dem Pfeil tauschen Sie die Reihenfolge.</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>VOLUME is something like this: [2a96f9b]</source>
        <translation>VOLUME sieht etwa so aus: [2a96f9b]</translation>
    </message>
    <message>
        <source>GENRE is defined in some entry section.</source>
        <translation>GENRE steht in manchen Einträgen.</translation>
    </message>
    <message>
        <source>NUMTRACKS is the the number of tracks.</source>
        <translation>NUMTRACKS ist die Anzahl der Titel.</translation>
    </message>
    <message>
        <source>Please type in not letter character.</source>
        <translation>Bitte geben Sie Zeichen ein, die keine Buchstaben sind.</translation>
    </message>
    <message>
        <source>You can use the back button to change your selections.</source>
        <translation>Mit „Zurück“ können Sie Ihre Auswahl ändern.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>%1 first, then %2</source>
        <translation>Zuerst %1, dann %2</translation>
    </message>
    <message>
        <source>Output file name</source>
        <translation>Name der Ausgabedatei</translation>
    </message>
    <message>
        <source>Browse for the output file</source>
        <translation>Ausgabedatei auswählen</translation>
    </message>
    <message>
        <source>Order of artist and title</source>
        <translation>Reihenfolge von Interpret und Titel</translation>
    </message>
    <message>
        <source>Swap artist and title, left arrow</source>
        <translation>Interpret und Titel tauschen, Pfeil nach links</translation>
    </message>
    <message>
        <source>Swap artist and title, right arrow</source>
        <translation>Interpret und Titel tauschen, Pfeil nach rechts</translation>
    </message>
    <message>
        <source>Separator between artist and title</source>
        <translation>Trennzeichen zwischen Interpret und Titel</translation>
    </message>
    <message>
        <source>Separator line between CDs</source>
        <translation>Trennlinie zwischen CDs</translation>
    </message>
</context>
<context>
    <name>TreeList</name>
    <message>
        <source>Sections and options</source>
        <translation>Abschnitte und Optionen</translation>
    </message>
    <message>
        <source>Find match</source>
        <translation>Suchtreffer</translation>
    </message>
    <message>
        <source>without a name</source>
        <translation>ohne Namen</translation>
    </message>
    <message>
        <source>Name of section %1</source>
        <translation>Name des Abschnitts %1</translation>
    </message>
    <message>
        <source>Name of option %1 in section %2</source>
        <translation>Name der Option %1 im Abschnitt %2</translation>
    </message>
    <message>
        <source>Value of option %1 in section %2</source>
        <translation>Wert der Option %1 im Abschnitt %2</translation>
    </message>
    <message>
        <source>Sections with their options and values; Tab moves between the columns, Ctrl+Tab to the next control</source>
        <translation>Abschnitte mit ihren Optionen und Werten; Tab wechselt zwischen den Spalten, Strg+Tab zum nächsten Bedienelement</translation>
    </message>
</context>
</TS>
