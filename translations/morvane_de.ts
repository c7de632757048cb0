<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>BatchArguments</name>
    <message>
        <source>no pictures given</source>
        <translation>keine Bilder angegeben</translation>
    </message>
    <message>
        <source>--dry-run goes with --upload</source>
        <translation>--dry-run gehört zu --upload</translation>
    </message>
    <message>
        <source>--remove-stale goes with --upload</source>
        <translation>--remove-stale gehört zu --upload</translation>
    </message>
    <message>
        <source>Usage: morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] [--config-dir DIR] [--prefix N=TEXT]... [--group N] FILE... [--group M] FILE...
       morvane-batch --undo-renames [FILE]
Writes a thumbnail and a large image of every grouped picture, as Morvane&apos;s Generate button does.

  --upload          then upload them, as Generate / Upload does: the files the
                    server does not have as they are
  --dry-run         with --upload: print what would be sent, skipped and removed,
                    one file a line, and send nothing
  --remove-stale    with --upload: remove from the remote folders the files an
                    earlier upload put there that this set no longer makes (up to
                    50; =all for any number), when everything else went through
  --config-dir DIR  read morvane.cfg and ftpsettings.cfg from DIR instead of the
                    working directory; they are never written
  --prefix N=TEXT   the name prefix of group N (1 to 5); empty when not given
  --group N         put the files that follow into group N (1 to 5), or &quot;none&quot; to
                    list them without a group; files before the first --group are
                    in group 1
  --undo-renames [FILE]
                    rename back the originals that the last run renamed, as the
                    record of renames lists them (FILE, or the one Morvane keeps);
                    given alone
  --help            show this help
  --version         show the version
</source>
        <translation>Aufruf: morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] [--config-dir VERZ] [--prefix N=TEXT]... [--group N] DATEI... [--group M] DATEI...
        morvane-batch --undo-renames [DATEI]
Schreibt ein Vorschaubild und ein großes Bild jedes gruppierten Bildes, wie es die Schaltfläche Erstellen von Morvane tut.

  --upload          lädt sie danach hoch, wie Erstellen / Hochladen: die Dateien,
                    die der Server nicht so hat, wie sie sind
  --dry-run         mit --upload: zeigt, was gesendet, übersprungen und entfernt
                    würde, eine Datei pro Zeile, und sendet nichts
  --remove-stale    mit --upload: entfernt aus den entfernten Ordnern die Dateien,
                    die ein früheres Hochladen dort abgelegt hat und die dieser Satz
                    nicht mehr erstellt (bis zu 50; =all für beliebig viele), wenn
                    alles andere geklappt hat
  --config-dir VERZ liest morvane.cfg und ftpsettings.cfg aus VERZ statt aus dem
                    Arbeitsverzeichnis; sie werden nie geschrieben
  --prefix N=TEXT   das Namenspräfix der Gruppe N (1 bis 5); leer, wenn nicht angegeben
  --group N         legt die folgenden Dateien in Gruppe N (1 bis 5), oder mit &quot;none&quot;
                    ohne Gruppe in die Liste; Dateien vor dem ersten --group sind
                    in Gruppe 1
  --undo-renames [DATEI]
                    benennt die Originale zurück, die der letzte Lauf umbenannt hat,
                    wie das Protokoll der Umbenennungen sie aufführt (DATEI, oder das
                    von Morvane geführte); nur allein anzugeben
  --help            zeigt diese Hilfe
  --version         zeigt die Version
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--group %1: the group is 1 to 5 or none</source>
        <translation>--group %1: die Gruppe ist 1 bis 5 oder none</translation>
    </message>
    <message>
        <source>--prefix %1: write it as N=TEXT</source>
        <translation>--prefix %1: als N=TEXT schreiben</translation>
    </message>
    <message>
        <source>--prefix %1: the group is 1 to 5</source>
        <translation>--prefix %1: die Gruppe ist 1 bis 5</translation>
    </message>
    <message>
        <source>--undo-renames takes no other options or files</source>
        <translation>--undo-renames nimmt keine weiteren Optionen oder Dateien</translation>
    </message>
</context>
<context>
    <name>BatchReporter</name>
    <message>
        <source>Failed to rename picture to %1: %2</source>
        <translation>Bild konnte nicht in %1 umbenannt werden: %2</translation>
    </message>
    <message>
        <source>Failed to read picture %1: %2</source>
        <translation>Bild %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Failed to write file %1: %2</source>
        <translation>Datei %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Did not make file %1: %2</source>
        <translation>Datei %1 nicht erstellt: %2</translation>
    </message>
    <message>
        <source>To trust this server, add this line to ftpsettings.cfg:</source>
        <translation>Um diesem Server zu vertrauen, diese Zeile zu ftpsettings.cfg hinzufügen:</translation>
    </message>
    <message>
        <source>Failed to find file %1</source>
        <translation>Datei %1 nicht gefunden</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>noch etwa %1</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Morvane Application</source>
        <translation>Anwendung Morvane</translation>
    </message>
    <message>
        <source>This program uses the GD Graphics Library.</source>
        <translation>Dieses Programm verwendet die GD-Grafikbibliothek.</translation>
    </message>
    <message>
        <source>About Quarnel</source>
        <translation>Über Quarnel</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>CFolderDialog</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>CFtpSettingsDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Anonymous</source>
        <translation>Anonym</translation>
    </message>
    <message>
        <source>Image Dir</source>
        <translation>Bildordner</translation>
    </message>
    <message>
        <source>Thumbnail Dir</source>
        <translation>Vorschauordner</translation>
    </message>
    <message>
        <source>Passive</source>
        <translation>Passiv</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Verbindungen</translation>
    </message>
    <message>
        <source>Send unchanged files too</source>
        <translation>Alles senden</translation>
    </message>
    <message>
        <source>Remove files this set no longer makes</source>
        <translation>Veraltete Dateien entfernen</translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation>Verbindung testen</translation>
    </message>
    <message>
        <source>FTP Settings</source>
        <translation>FTP-Einstellungen</translation>
    </message>
    <message>
        <source>Plain FTP</source>
        <translation>Einfaches FTP</translation>
    </message>
    <message>
        <source>TLS if offered</source>
        <translation>TLS, wenn angeboten</translation>
    </message>
    <message>
        <source>TLS required</source>
        <translation>TLS erforderlich</translation>
    </message>
    <message>
        <source>Trust this server from now on and connect? Answer Yes only if you know this is your server&apos;s key.</source>
        <translation>Diesem Server ab jetzt vertrauen und verbinden? Antworten Sie nur mit Ja, wenn Sie wissen, dass dies der Schlüssel Ihres Servers ist.</translation>
    </message>
    <message>
        <source>Failed to connect to FTP server.
Check FTP Settings.

%1</source>
        <translation>Verbindung zum FTP-Server fehlgeschlagen.
FTP-Einstellungen prüfen.

%1</translation>
    </message>
    <message>
        <source>Successful connection to FTP server!</source>
        <translation>Verbindung zum FTP-Server erfolgreich!</translation>
    </message>
    <message>
        <source>Both folders exist.</source>
        <translation>Beide Ordner sind vorhanden.</translation>
    </message>
    <message>
        <source>The upload will make these folders:</source>
        <translation>Das Hochladen wird diese Ordner anlegen:</translation>
    </message>
    <message>
        <source>The server offers no TLS: this connection is not encrypted.</source>
        <translation>Der Server bietet kein TLS an: Diese Verbindung ist nicht verschlüsselt.</translation>
    </message>
</context>
<context>
    <name>CImagePropertiesDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Thumbnail Properties</source>
        <translation>Eigenschaften der Vorschaubilder</translation>
    </message>
    <message>
        <source>Save Directory</source>
        <translation>Speicherordner</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Use Width</source>
        <translation>Mit Breite</translation>
    </message>
    <message>
        <source>Use Height</source>
        <translation>Mit Höhe</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Endung</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>2x version</source>
        <translation>2x-Version</translation>
    </message>
    <message>
        <source>Keep proportions</source>
        <translation>Seitenverhältnis halten</translation>
    </message>
    <message>
        <source>Never enlarge</source>
        <translation>Nie vergrößern</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Bildeigenschaften</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>JPEG Quality</source>
        <translation>JPEG-Qualität</translation>
    </message>
    <message>
        <source>Original Image Options</source>
        <translation>Optionen für das Originalbild</translation>
    </message>
    <message>
        <source>Rename Original Image</source>
        <translation>Original umbenennen</translation>
    </message>
    <message>
        <source>Web-safe file names</source>
        <translation>Web-taugliche Dateinamen</translation>
    </message>
    <message>
        <source>Progressive JPEG</source>
        <translation>Progressives JPEG</translation>
    </message>
    <message>
        <source>Keep artist and copyright</source>
        <translation>Urheber und Copyright behalten</translation>
    </message>
    <message>
        <source>Write HTML fragment</source>
        <translation>HTML-Fragment schreiben</translation>
    </message>
    <message>
        <source>Outputs and renamed originals get names in lower-case ASCII without blanks, and
numbers as wide as a group&apos;s largest: &quot;Été à Paris&quot; gives ete-a-paris01.jpg.</source>
        <translation>Ausgaben und umbenannte Originale erhalten Namen in ASCII-Kleinbuchstaben ohne Leerzeichen
und Nummern so breit wie die größte einer Gruppe: „Été à Paris“ ergibt ete-a-paris01.jpg.</translation>
    </message>
    <message>
        <source>Select the directory for the thumb images.</source>
        <translation>Wählen Sie den Ordner für die Vorschaubilder.</translation>
    </message>
    <message>
        <source>Thumb Image Directory</source>
        <translation>Ordner der Vorschaubilder</translation>
    </message>
    <message>
        <source>Select the directory for the large images.</source>
        <translation>Wählen Sie den Ordner für die großen Bilder.</translation>
    </message>
    <message>
        <source>Large Image Directory</source>
        <translation>Ordner der großen Bilder</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Morvane is still making or sending pictures.
Stop and close?</source>
        <translation>Morvane erstellt oder sendet noch Bilder.
Anhalten und schließen?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation>Ein neues Dokument anlegen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Die Anwendung beenden; fragt, ob Dokumente gespeichert werden sollen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Sort by File &amp;Name</source>
        <translation>Nach &amp;Dateinamen sortieren</translation>
    </message>
    <message>
        <source>Sort the list by file name.</source>
        <translation>Die Liste nach Dateinamen sortieren.</translation>
    </message>
    <message>
        <source>Sort by &amp;Date Taken</source>
        <translation>Nach &amp;Aufnahmedatum sortieren</translation>
    </message>
    <message>
        <source>Sort the list by the date the pictures were taken.</source>
        <translation>Die Liste nach dem Aufnahmedatum der Bilder sortieren.</translation>
    </message>
    <message>
        <source>Sort by Order &amp;Added</source>
        <translation>Nach Reihenfolge des &amp;Hinzufügens sortieren</translation>
    </message>
    <message>
        <source>Put the list back in the order the pictures were added.</source>
        <translation>Die Liste wieder in die Reihenfolge bringen, in der die Bilder hinzugefügt wurden.</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben verschieben</translation>
    </message>
    <message>
        <source>Move the selected pictures up one row.</source>
        <translation>Die ausgewählten Bilder eine Zeile nach oben verschieben.</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>Nach &amp;unten verschieben</translation>
    </message>
    <message>
        <source>Move the selected pictures down one row.</source>
        <translation>Die ausgewählten Bilder eine Zeile nach unten verschieben.</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Image Properties</source>
        <translation>&amp;Bildeigenschaften</translation>
    </message>
    <message>
        <source>Modify the image save settings.</source>
        <translation>Die Einstellungen zum Speichern der Bilder ändern.</translation>
    </message>
    <message>
        <source>&amp;Ftp Settings</source>
        <translation>&amp;FTP-Einstellungen</translation>
    </message>
    <message>
        <source>Modify the FTP settings.</source>
        <translation>Die FTP-Einstellungen ändern.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Quarnel...</source>
        <translation>&amp;Über Quarnel...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen</translation>
    </message>
</context>
<context>
    <name>CMorvaneApp</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Die Initialisierung der Netzwerk-Sockets ist fehlgeschlagen.</translation>
    </message>
</context>
<context>
    <name>CMorvaneView</name>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Group %1 Text</source>
        <translation>Text Gruppe %1</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Generate / Upload</source>
        <translation>Erstellen / Hochladen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop the run (Esc)</source>
        <translation>Den Lauf anhalten (Esc)</translation>
    </message>
    <message>
        <source>Image Files</source>
        <translation>Bilddateien</translation>
    </message>
    <message>
        <source>Cannot be read as a picture</source>
        <translation>Kann nicht als Bild gelesen werden</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 Pixel</translation>
    </message>
    <message>
        <source>Taken %1</source>
        <translation>Aufgenommen %1</translation>
    </message>
    <message>
        <source>No date taken; file changed %1</source>
        <translation>Kein Aufnahmedatum; Datei geändert %1</translation>
    </message>
    <message>
        <source>No date taken</source>
        <translation>Kein Aufnahmedatum</translation>
    </message>
    <message>
        <source>Cannot be read:
%1</source>
        <translation>Nicht lesbar:
%1</translation>
    </message>
    <message>
        <source>Could not be renamed to %1: %2</source>
        <translation>Konnte nicht in %1 umbenannt werden: %2</translation>
    </message>
</context>
<context>
    <name>CSelectGroupDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select Group</source>
        <translation>Gruppe wählen</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
</context>
<context>
    <name>ConfirmFolder</name>
    <message>
        <source>The folder:

%1

does not exist. Do you want the folder to be created?</source>
        <translation>Der Ordner:

%1

existiert nicht. Soll der Ordner angelegt werden?</translation>
    </message>
    <message>
        <source>The folder:

%1

is invalid. Please reenter.</source>
        <translation>Der Ordner:

%1

ist ungültig. Bitte neu eingeben.</translation>
    </message>
    <message>
        <source>The folder:

%1

can not be created. Please double check.</source>
        <translation>Der Ordner:

%1

kann nicht angelegt werden. Bitte noch einmal prüfen.</translation>
    </message>
</context>
<context>
    <name>DataExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte eine ganze Zahl eingeben.</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>disk full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>disk quota exceeded</source>
        <translation>Speicherkontingent überschritten</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>read-only file system</source>
        <translation>schreibgeschütztes Dateisystem</translation>
    </message>
    <message>
        <source>folder not found</source>
        <translation>Ordner nicht gefunden</translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>kein Ordner</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>ein Ordner hat diesen Namen</translation>
    </message>
    <message>
        <source>name too long</source>
        <translation>Name zu lang</translation>
    </message>
    <message>
        <source>input/output error</source>
        <translation>Ein-/Ausgabefehler</translation>
    </message>
    <message>
        <source>on another file system</source>
        <translation>auf einem anderen Dateisystem</translation>
    </message>
</context>
<context>
    <name>FileTransfer</name>
    <message>
        <source>Connection timed out.</source>
        <translation>Zeitüberschreitung der Verbindung.</translation>
    </message>
    <message>
        <source>The server stored %1 of its %2 bytes.</source>
        <translation>Der Server hat %1 seiner %2 Bytes gespeichert.</translation>
    </message>
    <message>
        <source>The server did not tell how much of it arrived.</source>
        <translation>Der Server hat nicht mitgeteilt, wie viel davon ankam.</translation>
    </message>
    <message>
        <source>The server did not let it take its name.</source>
        <translation>Der Server hat die Datei ihren Namen nicht annehmen lassen.</translation>
    </message>
</context>
<context>
    <name>FtpConnectResult</name>
    <message>
        <source>The server name is not valid.</source>
        <translation>Der Servername ist ungültig.</translation>
    </message>
    <message>
        <source>The user name or the password holds a line break.</source>
        <translation>Benutzername oder Passwort enthalten einen Zeilenumbruch.</translation>
    </message>
    <message>
        <source>The port must be between 0 and 65535.</source>
        <translation>Der Port muss zwischen 0 und 65535 liegen.</translation>
    </message>
    <message>
        <source>The security setting is not one this program knows.</source>
        <translation>Diese Sicherheitseinstellung kennt das Programm nicht.</translation>
    </message>
    <message>
        <source>The trusted fingerprint in the settings is not a SHA-256 fingerprint.</source>
        <translation>Der vertrauenswürdige Fingerabdruck in den Einstellungen ist kein SHA-256-Fingerabdruck.</translation>
    </message>
    <message>
        <source>The network library refused a setting, so nothing was sent.</source>
        <translation>Die Netzwerkbibliothek hat eine Einstellung abgelehnt, daher wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>Host not found.</source>
        <translation>Host nicht gefunden.</translation>
    </message>
    <message>
        <source>The server refused the connection.</source>
        <translation>Der Server hat die Verbindung abgelehnt.</translation>
    </message>
    <message>
        <source>Connection timed out.</source>
        <translation>Zeitüberschreitung der Verbindung.</translation>
    </message>
    <message>
        <source>Login incorrect.</source>
        <translation>Anmeldung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The server does not offer FTP over TLS, so nothing was sent.</source>
        <translation>Der Server bietet kein FTP über TLS an, daher wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s key is not trusted.</source>
        <translation>Dem Schlüssel des Servers wird nicht vertraut.</translation>
    </message>
    <message>
        <source>The server&apos;s key has changed since you chose to trust it. Another server may be posing as yours, so nothing was sent.
Trusted key: %1
Key presented now: %2</source>
        <translation>Der Schlüssel des Servers hat sich geändert, seit Sie ihm vertraut haben. Ein anderer Server könnte sich als Ihrer ausgeben, daher wurde nichts gesendet.
Vertrauter Schlüssel: %1
Jetzt vorgelegter Schlüssel: %2</translation>
    </message>
    <message>
        <source>(not seen)</source>
        <translation>(nicht gesehen)</translation>
    </message>
    <message>
        <source>The secure connection could not be set up.</source>
        <translation>Die sichere Verbindung konnte nicht aufgebaut werden.</translation>
    </message>
</context>
<context>
    <name>FtpSession</name>
    <message>
        <source>No connection was made yet</source>
        <translation>Es wurde noch keine Verbindung hergestellt</translation>
    </message>
    <message>
        <source>The session is closed</source>
        <translation>Die Sitzung ist geschlossen</translation>
    </message>
</context>
<context>
    <name>ImageBatch</name>
    <message>
        <source>Generating Images...</source>
        <translation>Bilder werden erstellt...</translation>
    </message>
    <message>
        <source>Invalid Group %1 Text. Group names cannot contain &quot;/&quot;.</source>
        <translation>Ungültiger Text für Gruppe %1. Gruppennamen dürfen kein „/“ enthalten.</translation>
    </message>
    <message>
        <source>Invalid %1 setting. Extensions cannot contain &quot;/&quot; or a NUL byte.</source>
        <translation>Ungültige Einstellung %1. Endungen dürfen kein „/“ und kein NUL-Byte enthalten.</translation>
    </message>
    <message>
        <source>have the same Save Directory and the same Extension</source>
        <translation>haben denselben Speicherordner und dieselbe Endung</translation>
    </message>
    <message>
        <source>have the same Save Directory, and their Extensions give the same names once a 2x version&apos;s &quot;@2x&quot; is added: names ending in &quot;%1&quot;</source>
        <translation>haben denselben Speicherordner, und ihre Endungen ergeben dieselben Namen, sobald das „@2x“ einer 2x-Version hinzukommt: Namen, die auf „%1“ enden</translation>
    </message>
    <message>
        <source>The %1 and the %2 would be written to the same files: the %3 and the %4 %5.
Give them different directories or extensions under Options &gt; Image Properties.</source>
        <translation>Die %1 und die %2 würden in dieselben Dateien geschrieben: „%3“ und „%4“ %5.
Geben Sie ihnen unter Optionen &gt; Bildeigenschaften verschiedene Ordner oder Endungen.</translation>
    </message>
    <message>
        <source>Failed to write file %1: %2</source>
        <translation>Datei %1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>ImageSettings</name>
    <message>
        <source>thumbnails</source>
        <translation>Vorschaubilder</translation>
    </message>
    <message>
        <source>Thumbnail Properties</source>
        <translation>Eigenschaften der Vorschaubilder</translation>
    </message>
    <message>
        <source>Invalid thumbnail directory. Check Image Property settings under Options.</source>
        <translation>Ungültiger Ordner für Vorschaubilder. Prüfen Sie die Bildeigenschaften unter Optionen.</translation>
    </message>
    <message>
        <source>large images</source>
        <translation>großen Bilder</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Bildeigenschaften</translation>
    </message>
    <message>
        <source>Invalid large image directory. Check Image Property settings under Options.</source>
        <translation>Ungültiger Ordner für große Bilder. Prüfen Sie die Bildeigenschaften unter Optionen.</translation>
    </message>
</context>
<context>
    <name>LockKeyIndicators</name>
    <message>
        <source>CAP</source>
        <translation>UF</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>RF</translation>
    </message>
</context>
<context>
    <name>OutputFailure</name>
    <message>
        <source>too small: a side would be under one pixel</source>
        <translation>zu klein: eine Seite wäre kleiner als ein Pixel</translation>
    </message>
    <message>
        <source>too large for a picture file</source>
        <translation>zu groß für eine Bilddatei</translation>
    </message>
    <message>
        <source>would replace a picture of the list</source>
        <translation>würde ein Bild der Liste ersetzen</translation>
    </message>
    <message>
        <source>could not be encoded</source>
        <translation>konnte nicht kodiert werden</translation>
    </message>
    <message>
        <source>Not found, or not a file</source>
        <translation>Nicht gefunden oder keine Datei</translation>
    </message>
    <message>
        <source>Not a JPEG or HEIC picture</source>
        <translation>Kein JPEG- oder HEIC-Bild</translation>
    </message>
    <message>
        <source>Larger than 250 megapixels (50 for HEIC)</source>
        <translation>Größer als 250 Megapixel (50 bei HEIC)</translation>
    </message>
    <message>
        <source>Colours of no kind a screen shows</source>
        <translation>Farben, die kein Bildschirm zeigt</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Abgeschnitten</translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation>Nicht genug Speicher</translation>
    </message>
    <message>
        <source>Damaged picture data</source>
        <translation>Beschädigte Bilddaten</translation>
    </message>
    <message>
        <source>could not be written: %1</source>
        <translation>konnte nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>PublishResult</name>
    <message numerus="yes">
        <source>%1 of %n picture made</source>
        <translation>
            <numerusform>%1 von %n Bild erstellt</numerusform>
            <numerusform>%1 von %n Bildern erstellt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n pictures made</source>
        <translation>
            <numerusform>%1 von %n Bild erstellt</numerusform>
            <numerusform>%1 von %n Bildern erstellt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n output could not be written</source>
        <translation>
            <numerusform>%n Ausgabe konnte nicht geschrieben werden</numerusform>
            <numerusform>%n Ausgaben konnten nicht geschrieben werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n outputs could not be written</source>
        <translation>
            <numerusform>%n Ausgabe konnte nicht geschrieben werden</numerusform>
            <numerusform>%n Ausgaben konnten nicht geschrieben werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n HTML fragment could not be written</source>
        <translation>
            <numerusform>%n HTML-Fragment konnte nicht geschrieben werden</numerusform>
            <numerusform>%n HTML-Fragmente konnten nicht geschrieben werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n HTML fragments could not be written</source>
        <translation>
            <numerusform>%n HTML-Fragment konnte nicht geschrieben werden</numerusform>
            <numerusform>%n HTML-Fragmente konnten nicht geschrieben werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n unchanged</source>
        <translation>
            <numerusform>%n unverändert</numerusform>
            <numerusform>%n unverändert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n removed</source>
        <translation>
            <numerusform>%n entfernt</numerusform>
            <numerusform>%n entfernt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n not removed</source>
        <translation>
            <numerusform>%n nicht entfernt</numerusform>
            <numerusform>%n nicht entfernt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n to remove</source>
        <translation>
            <numerusform>%n zu entfernen</numerusform>
            <numerusform>%n zu entfernen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file sent</source>
        <translation>
            <numerusform>%n Datei gesendet</numerusform>
            <numerusform>%n Dateien gesendet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files sent</source>
        <translation>
            <numerusform>%n Datei gesendet</numerusform>
            <numerusform>%n Dateien gesendet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file to send</source>
        <translation>
            <numerusform>%n Datei zu senden</numerusform>
            <numerusform>%n Dateien zu senden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files to send</source>
        <translation>
            <numerusform>%n Datei zu senden</numerusform>
            <numerusform>%n Dateien zu senden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file sent</source>
        <translation>
            <numerusform>%1 von %n Datei gesendet</numerusform>
            <numerusform>%1 von %n Dateien gesendet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files sent</source>
        <translation>
            <numerusform>%1 von %n Datei gesendet</numerusform>
            <numerusform>%1 von %n Dateien gesendet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be read</source>
        <translation>
            <numerusform>%n konnte nicht gelesen werden</numerusform>
            <numerusform>%n konnten nicht gelesen werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be renamed</source>
        <translation>
            <numerusform>%n konnte nicht umbenannt werden</numerusform>
            <numerusform>%n konnten nicht umbenannt werden</numerusform>
        </translation>
    </message>
    <message>
        <source>no %1: their directory is missing</source>
        <translation>keine %1: ihr Ordner fehlt</translation>
    </message>
    <message>
        <source>Upload failed: no connection to the server.</source>
        <translation>Hochladen fehlgeschlagen: keine Verbindung zum Server.</translation>
    </message>
    <message>
        <source>without encryption: the server offers no TLS.</source>
        <translation>ohne Verschlüsselung: Der Server bietet kein TLS an.</translation>
    </message>
    <message>
        <source>Cancelled: dry run, %1</source>
        <translation>Abgebrochen: Probelauf, %1</translation>
    </message>
    <message>
        <source>Dry run: %1</source>
        <translation>Probelauf: %1</translation>
    </message>
    <message>
        <source>The server offers no TLS: it would go in clear.</source>
        <translation>Der Server bietet kein TLS an: Es ginge unverschlüsselt.</translation>
    </message>
    <message>
        <source>Cancelled: %1</source>
        <translation>Abgebrochen: %1</translation>
    </message>
    <message>
        <source>Upload Complete, %1</source>
        <translation>Hochladen abgeschlossen, %1</translation>
    </message>
    <message>
        <source>Upload Complete</source>
        <translation>Hochladen abgeschlossen</translation>
    </message>
    <message>
        <source>Upload Complete: %1; %2</source>
        <translation>Hochladen abgeschlossen: %1; %2</translation>
    </message>
    <message>
        <source>Upload Complete: %1.</source>
        <translation>Hochladen abgeschlossen: %1.</translation>
    </message>
    <message>
        <source>Upload failed: %1</source>
        <translation>Hochladen fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Upload finished: %1</source>
        <translation>Hochladen beendet: %1</translation>
    </message>
    <message>
        <source>Nothing made.</source>
        <translation>Nichts erstellt.</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>JPEG Files (*.jpg, *.jpeg) (*.jpeg *.jpg)</source>
        <translation>JPEG-Dateien (*.jpg, *.jpeg) (*.jpeg *.jpg)</translation>
    </message>
    <message>
        <source>HEIF Files (*.heic, *.heif) (*.heic *.heif)</source>
        <translation>HEIF-Dateien (*.heic, *.heif) (*.heic *.heif)</translation>
    </message>
    <message>
        <source>All Pictures (*.jpeg *.jpg *.heic *.heif)</source>
        <translation>Alle Bilder (*.jpeg *.jpg *.heic *.heif)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>RemoteFolders</name>
    <message>
        <source>thumbnail directory</source>
        <translation>Ordner der Vorschaubilder</translation>
    </message>
    <message>
        <source>large image directory</source>
        <translation>Ordner der großen Bilder</translation>
    </message>
</context>
<context>
    <name>RenameRecord</name>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1: keine reguläre Datei</translation>
    </message>
    <message>
        <source>The renames cannot be recorded (%1), so the originals keep their names.</source>
        <translation>Die Umbenennungen können nicht protokolliert werden (%1), daher behalten die Originale ihre Namen.</translation>
    </message>
</context>
<context>
    <name>RenameUndo</name>
    <message>
        <source>the undo cannot be recorded (%1)</source>
        <translation>das Rückgängigmachen kann nicht protokolliert werden (%1)</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>sie existiert nicht mehr</translation>
    </message>
    <message>
        <source>that name is taken</source>
        <translation>dieser Name ist vergeben</translation>
    </message>
</context>
<context>
    <name>ServerKey</name>
    <message>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>Dem Zertifikat des Servers wird nicht vertraut.</translation>
    </message>
    <message>
        <source>The server&apos;s host key is not known yet.</source>
        <translation>Der Host-Schlüssel des Servers ist noch nicht bekannt.</translation>
    </message>
    <message>
        <source>Subject: %1
Issuer: %2
Valid from %3 to %4
SHA-256 fingerprint of its key:
%5</source>
        <translation>Inhaber: %1
Aussteller: %2
Gültig von %3 bis %4
SHA-256-Fingerabdruck seines Schlüssels:
%5</translation>
    </message>
    <message>
        <source>Key type: %1
SHA-256 fingerprint:
%2
(OpenSSH shows it as SHA256:%3)</source>
        <translation>Schlüsseltyp: %1
SHA-256-Fingerabdruck:
%2
(OpenSSH zeigt ihn als SHA256:%3)</translation>
    </message>
</context>
<context>
    <name>StartArguments</name>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>Usage: morvane [FILE]...
Starts Morvane with the pictures FILE... in its list, as if added with Add.

  --help     show this help
  --version  show the version

Qt&apos;s own options, such as -platform NAME, are understood as well.
</source>
        <translation>Aufruf: morvane [DATEI]...
Startet Morvane mit den Bildern DATEI... in seiner Liste, als wären sie mit Hinzufügen hinzugefügt.

  --help     zeigt diese Hilfe
  --version  zeigt die Version

Auch die Optionen von Qt selbst, etwa -platform NAME, werden verstanden.
</translation>
    </message>
    <message>
        <source>%1: is a folder</source>
        <translation>%1: ist ein Ordner</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: keine solche Datei</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
</context>
<context>
    <name>TransferProgress</name>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 von %2 MB</translation>
    </message>
    <message>
        <source>%1 of %2 KB</source>
        <translation>%1 von %2 KB</translation>
    </message>
    <message numerus="yes">
        <source>Uploading %1 of %n file (%2)...</source>
        <translation>
            <numerusform>Lade %1 von %n Datei hoch (%2)...</numerusform>
            <numerusform>Lade %1 von %n Dateien hoch (%2)...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uploading %1 of %n files (%2)...</source>
        <translation>
            <numerusform>Lade %1 von %n Datei hoch (%2)...</numerusform>
            <numerusform>Lade %1 von %n Dateien hoch (%2)...</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TransferQueue</name>
    <message>
        <source>The connection to the server was lost.</source>
        <translation>Die Verbindung zum Server ist abgerissen.</translation>
    </message>
</context>
<context>
    <name>UndoRenames</name>
    <message>
        <source>Failed to undo the renames of %1: %2</source>
        <translation>Die Umbenennungen aus %1 konnten nicht rückgängig gemacht werden: %2</translation>
    </message>
    <message>
        <source>No renames are recorded in %1</source>
        <translation>In %1 sind keine Umbenennungen protokolliert</translation>
    </message>
    <message>
        <source>Failed to rename %1 back to %2: %3</source>
        <translation>%1 konnte nicht zurück in %2 umbenannt werden: %3</translation>
    </message>
</context>
<context>
    <name>Uploader</name>
    <message>
        <source>Failed to find %1 on FTP server.
Check FTP Settings under Options.

The folder %2 does not exist and could not be made.</source>
        <translation>Der %1 wurde auf dem FTP-Server nicht gefunden.
Prüfen Sie die FTP-Einstellungen unter Optionen.

Der Ordner %2 existiert nicht und konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Failed to keep the record of what was uploaded in %1.
The next upload sends these files again.</source>
        <translation>Das Protokoll des Hochgeladenen konnte nicht in %1 gespeichert werden.
Das nächste Hochladen sendet diese Dateien erneut.</translation>
    </message>
    <message>
        <source>A later file of this upload goes to the same place: %1</source>
        <translation>Eine spätere Datei dieses Hochladens geht an dieselbe Stelle: %1</translation>
    </message>
    <message>
        <source>The connection to the server broke off.</source>
        <translation>Die Verbindung zum Server ist abgebrochen.</translation>
    </message>
    <message>
        <source>Failed to upload file %1

Connection timed out.</source>
        <translation>Datei %1 konnte nicht hochgeladen werden

Zeitüberschreitung der Verbindung.</translation>
    </message>
    <message>
        <source>Failed to upload file %1</source>
        <translation>Datei %1 konnte nicht hochgeladen werden</translation>
    </message>
    <message numerus="yes">
        <source>The server stopped answering; %n file was not uploaded.</source>
        <translation>
            <numerusform>Der Server antwortet nicht mehr; %n Datei wurde nicht hochgeladen.</numerusform>
            <numerusform>Der Server antwortet nicht mehr; %n Dateien wurden nicht hochgeladen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server stopped answering; %n files were not uploaded.</source>
        <translation>
            <numerusform>Der Server antwortet nicht mehr; %n Datei wurde nicht hochgeladen.</numerusform>
            <numerusform>Der Server antwortet nicht mehr; %n Dateien wurden nicht hochgeladen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files this set no longer makes were left on the server: more than %1 at once looks like a mistake.
To remove them all, run morvane-batch --upload --remove-stale=all.</source>
        <translation>
            <numerusform>%n Datei, die dieser Satz nicht mehr erstellt, blieb auf dem Server: mehr als %1 auf einmal sieht nach einem Versehen aus.
Um alle zu entfernen, morvane-batch --upload --remove-stale=all ausführen.</numerusform>
            <numerusform>%n Dateien, die dieser Satz nicht mehr erstellt, blieben auf dem Server: mehr als %1 auf einmal sieht nach einem Versehen aus.
Um alle zu entfernen, morvane-batch --upload --remove-stale=all ausführen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed to remove file %1 from the server.</source>
        <translation>Datei %1 konnte nicht vom Server entfernt werden.</translation>
    </message>
    <message>
        <source>Uploading Images...</source>
        <translation>Bilder werden hochgeladen...</translation>
    </message>
    <message>
        <source>Connecting to FTP Server...</source>
        <translation>Verbindung zum FTP-Server wird hergestellt...</translation>
    </message>
    <message>
        <source>Failed to connect to FTP server.
Check FTP Settings under Options.

%1</source>
        <translation>Verbindung zum FTP-Server fehlgeschlagen.
Prüfen Sie die FTP-Einstellungen unter Optionen.

%1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>no display found; start it on a desktop, or without one under a virtual display: xvfb-run %1</source>
        <translation>keine Anzeige gefunden; auf einem Desktop starten oder ohne einen unter einer virtuellen Anzeige: xvfb-run %1</translation>
    </message>
</context>
<context>
    <name>morvane-batch</name>
    <message>
        <source>--config-dir %1: no such directory</source>
        <translation>--config-dir %1: kein solcher Ordner</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>unterbrochen</translation>
    </message>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Die Initialisierung der Netzwerk-Sockets ist fehlgeschlagen.</translation>
    </message>
</context>
</TS>
