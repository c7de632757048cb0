<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>BatchArguments</name>
    <message>
        <source>no pictures given</source>
        <translation>no se indicó ninguna imagen</translation>
    </message>
    <message>
        <source>--dry-run goes with --upload</source>
        <translation>--dry-run va con --upload</translation>
    </message>
    <message>
        <source>--remove-stale goes with --upload</source>
        <translation>--remove-stale va con --upload</translation>
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
        <translation>Uso: morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] [--config-dir DIR] [--prefix N=TEXTO]... [--group N] ARCHIVO... [--group M] ARCHIVO...
     morvane-batch --undo-renames [ARCHIVO]
Escribe una miniatura y una imagen grande de cada imagen agrupada, como el botón Generar de Morvane.

  --upload          después las sube, como Generar / Subir: los archivos que el
                    servidor no tiene tal como están
  --dry-run         con --upload: muestra lo que se enviaría, omitiría y eliminaría,
                    un archivo por línea, y no envía nada
  --remove-stale    con --upload: elimina de las carpetas remotas los archivos que
                    una subida anterior dejó allí y que este conjunto ya no crea
                    (hasta 50; =all para cualquier cantidad), cuando todo lo demás
                    salió bien
  --config-dir DIR  lee morvane.cfg y ftpsettings.cfg de DIR en lugar de la carpeta
                    de trabajo; nunca se escriben
  --prefix N=TEXTO  el prefijo de nombre del grupo N (1 a 5); vacío si no se indica
  --group N         pone los archivos siguientes en el grupo N (1 a 5), o con &quot;none&quot;
                    en la lista sin grupo; los archivos anteriores al primer --group
                    están en el grupo 1
  --undo-renames [ARCHIVO]
                    devuelve su nombre a los originales que la última ejecución
                    renombró, según los lista el registro de cambios de nombre
                    (ARCHIVO, o el que lleva Morvane); solo, sin nada más
  --help            muestra esta ayuda
  --version         muestra la versión
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 necesita un valor</translation>
    </message>
    <message>
        <source>--group %1: the group is 1 to 5 or none</source>
        <translation>--group %1: el grupo es de 1 a 5 o none</translation>
    </message>
    <message>
        <source>--prefix %1: write it as N=TEXT</source>
        <translation>--prefix %1: escríbalo como N=TEXTO</translation>
    </message>
    <message>
        <source>--prefix %1: the group is 1 to 5</source>
        <translation>--prefix %1: el grupo es de 1 a 5</translation>
    </message>
    <message>
        <source>--undo-renames takes no other options or files</source>
        <translation>--undo-renames no admite otras opciones ni archivos</translation>
    </message>
</context>
<context>
    <name>BatchReporter</name>
    <message>
        <source>Failed to rename picture to %1: %2</source>
        <translation>No se pudo cambiar el nombre de la imagen a %1: %2</translation>
    </message>
    <message>
        <source>Failed to read picture %1: %2</source>
        <translation>No se pudo leer la imagen %1: %2</translation>
    </message>
    <message>
        <source>Failed to write file %1: %2</source>
        <translation>No se pudo escribir el archivo %1: %2</translation>
    </message>
    <message>
        <source>Did not make file %1: %2</source>
        <translation>No se creó el archivo %1: %2</translation>
    </message>
    <message>
        <source>To trust this server, add this line to ftpsettings.cfg:</source>
        <translation>Para confiar en este servidor, añada esta línea a ftpsettings.cfg:</translation>
    </message>
    <message>
        <source>Failed to find file %1</source>
        <translation>No se encontró el archivo %1</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>quedan unos %1</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Morvane Application</source>
        <translation>Aplicación Morvane</translation>
    </message>
    <message>
        <source>This program uses the GD Graphics Library.</source>
        <translation>Este programa usa la biblioteca gráfica GD.</translation>
    </message>
    <message>
        <source>About Quarnel</source>
        <translation>Acerca de Quarnel</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
</context>
<context>
    <name>CFolderDialog</name>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
</context>
<context>
    <name>CFtpSettingsDlg</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Servidor</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Puerto</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Usuario</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Anonymous</source>
        <translation>Anónimo</translation>
    </message>
    <message>
        <source>Image Dir</source>
        <translation>Imágenes</translation>
    </message>
    <message>
        <source>Thumbnail Dir</source>
        <translation>Miniaturas</translation>
    </message>
    <message>
        <source>Passive</source>
        <translation>Pasivo</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Seguridad</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Conexiones</translation>
    </message>
    <message>
        <source>Send unchanged files too</source>
        <translation>Enviarlo todo</translation>
    </message>
    <message>
        <source>Remove files this set no longer makes</source>
        <translation>Eliminar archivos obsoletos</translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation>Probar conexión</translation>
    </message>
    <message>
        <source>FTP Settings</source>
        <translation>Configuración FTP</translation>
    </message>
    <message>
        <source>Plain FTP</source>
        <translation>FTP simple</translation>
    </message>
    <message>
        <source>TLS if offered</source>
        <translation>TLS si se ofrece</translation>
    </message>
    <message>
        <source>TLS required</source>
        <translation>TLS obligatorio</translation>
    </message>
    <message>
        <source>Trust this server from now on and connect? Answer Yes only if you know this is your server&apos;s key.</source>
        <translation>¿Confiar en este servidor a partir de ahora y conectar? Responda Sí solo si sabe que esta es la clave de su servidor.</translation>
    </message>
    <message>
        <source>Failed to connect to FTP server.
Check FTP Settings.

%1</source>
        <translation>No se pudo conectar al servidor FTP.
Compruebe la configuración FTP.

%1</translation>
    </message>
    <message>
        <source>Successful connection to FTP server!</source>
        <translation>¡Conexión con el servidor FTP correcta!</translation>
    </message>
    <message>
        <source>Both folders exist.</source>
        <translation>Las dos carpetas existen.</translation>
    </message>
    <message>
        <source>The upload will make these folders:</source>
        <translation>La subida creará estas carpetas:</translation>
    </message>
    <message>
        <source>The server offers no TLS: this connection is not encrypted.</source>
        <translation>El servidor no ofrece TLS: esta conexión no está cifrada.</translation>
    </message>
</context>
<context>
    <name>CImagePropertiesDlg</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Thumbnail Properties</source>
        <translation>Propiedades de las miniaturas</translation>
    </message>
    <message>
        <source>Save Directory</source>
        <translation>Guardar en</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Examinar</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Use Width</source>
        <translation>Usar ancho</translation>
    </message>
    <message>
        <source>Use Height</source>
        <translation>Usar alto</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Sufijo</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Alta</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Baja</translation>
    </message>
    <message>
        <source>2x version</source>
        <translation>Versión 2x</translation>
    </message>
    <message>
        <source>Keep proportions</source>
        <translation>Mantener proporciones</translation>
    </message>
    <message>
        <source>Never enlarge</source>
        <translation>No ampliar nunca</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Propiedades de imagen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>JPEG Quality</source>
        <translation>Calidad JPEG</translation>
    </message>
    <message>
        <source>Original Image Options</source>
        <translation>Opciones de la imagen original</translation>
    </message>
    <message>
        <source>Rename Original Image</source>
        <translation>Renombrar original</translation>
    </message>
    <message>
        <source>Web-safe file names</source>
        <translation>Nombres aptos para la web</translation>
    </message>
    <message>
        <source>Progressive JPEG</source>
        <translation>JPEG progresivo</translation>
    </message>
    <message>
        <source>Keep artist and copyright</source>
        <translation>Mantener autor y copyright</translation>
    </message>
    <message>
        <source>Write HTML fragment</source>
        <translation>Escribir fragmento HTML</translation>
    </message>
    <message>
        <source>Outputs and renamed originals get names in lower-case ASCII without blanks, and
numbers as wide as a group&apos;s largest: &quot;Été à Paris&quot; gives ete-a-paris01.jpg.</source>
        <translation>Los resultados y los originales renombrados reciben nombres en ASCII en minúsculas sin espacios,
y números tan anchos como el mayor del grupo: «Été à Paris» da ete-a-paris01.jpg.</translation>
    </message>
    <message>
        <source>Select the directory for the thumb images.</source>
        <translation>Elija la carpeta de las miniaturas.</translation>
    </message>
    <message>
        <source>Thumb Image Directory</source>
        <translation>Carpeta de miniaturas</translation>
    </message>
    <message>
        <source>Select the directory for the large images.</source>
        <translation>Elija la carpeta de las imágenes grandes.</translation>
    </message>
    <message>
        <source>Large Image Directory</source>
        <translation>Carpeta de imágenes grandes</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Morvane is still making or sending pictures.
Stop and close?</source>
        <translation>Morvane aún está creando o enviando imágenes.
¿Detener y cerrar?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nuevo</translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation>Crear un documento nuevo</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Salir de la aplicación; pregunta si guardar los documentos</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Sort by File &amp;Name</source>
        <translation>Ordenar por &amp;nombre de archivo</translation>
    </message>
    <message>
        <source>Sort the list by file name.</source>
        <translation>Ordenar la lista por nombre de archivo.</translation>
    </message>
    <message>
        <source>Sort by &amp;Date Taken</source>
        <translation>Ordenar por &amp;fecha de captura</translation>
    </message>
    <message>
        <source>Sort the list by the date the pictures were taken.</source>
        <translation>Ordenar la lista por la fecha en que se tomaron las imágenes.</translation>
    </message>
    <message>
        <source>Sort by Order &amp;Added</source>
        <translation>Ordenar por orden de &amp;incorporación</translation>
    </message>
    <message>
        <source>Put the list back in the order the pictures were added.</source>
        <translation>Devolver la lista al orden en que se añadieron las imágenes.</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Mover &amp;arriba</translation>
    </message>
    <message>
        <source>Move the selected pictures up one row.</source>
        <translation>Mover las imágenes seleccionadas una fila hacia arriba.</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>Mover a&amp;bajo</translation>
    </message>
    <message>
        <source>Move the selected pictures down one row.</source>
        <translation>Mover las imágenes seleccionadas una fila hacia abajo.</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Image Properties</source>
        <translation>&amp;Propiedades de imagen</translation>
    </message>
    <message>
        <source>Modify the image save settings.</source>
        <translation>Modificar la configuración de guardado de las imágenes.</translation>
    </message>
    <message>
        <source>&amp;Ftp Settings</source>
        <translation>Configuración &amp;FTP</translation>
    </message>
    <message>
        <source>Modify the FTP settings.</source>
        <translation>Modificar la configuración FTP.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>&amp;About Quarnel...</source>
        <translation>&amp;Acerca de Quarnel...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Mostrar información del programa, número de versión y copyright</translation>
    </message>
</context>
<context>
    <name>CMorvaneApp</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Falló la inicialización de los sockets de red.</translation>
    </message>
</context>
<context>
    <name>CMorvaneView</name>
    <message>
        <source>Images</source>
        <translation>Imágenes</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <source>Group %1 Text</source>
        <translation>Texto grupo %1</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>Generar</translation>
    </message>
    <message>
        <source>Generate / Upload</source>
        <translation>Generar / Subir</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Stop the run (Esc)</source>
        <translation>Detener la ejecución (Esc)</translation>
    </message>
    <message>
        <source>Image Files</source>
        <translation>Archivos de imagen</translation>
    </message>
    <message>
        <source>Cannot be read as a picture</source>
        <translation>No se puede leer como imagen</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 píxeles</translation>
    </message>
    <message>
        <source>Taken %1</source>
        <translation>Tomada el %1</translation>
    </message>
    <message>
        <source>No date taken; file changed %1</source>
        <translation>Sin fecha de captura; archivo modificado el %1</translation>
    </message>
    <message>
        <source>No date taken</source>
        <translation>Sin fecha de captura</translation>
    </message>
    <message>
        <source>Cannot be read:
%1</source>
        <translation>No se puede leer:
%1</translation>
    </message>
    <message>
        <source>Could not be renamed to %1: %2</source>
        <translation>No se pudo renombrar a %1: %2</translation>
    </message>
</context>
<context>
    <name>CSelectGroupDlg</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Select Group</source>
        <translation>Elegir grupo</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
</context>
<context>
    <name>ConfirmFolder</name>
    <message>
        <source>The folder:

%1

does not exist. Do you want the folder to be created?</source>
        <translation>La carpeta:

%1

no existe. ¿Quiere crear la carpeta?</translation>
    </message>
    <message>
        <source>The folder:

%1

is invalid. Please reenter.</source>
        <translation>La carpeta:

%1

no es válida. Vuelva a escribirla.</translation>
    </message>
    <message>
        <source>The folder:

%1

can not be created. Please double check.</source>
        <translation>La carpeta:

%1

no se puede crear. Compruébela de nuevo.</translation>
    </message>
</context>
<context>
    <name>DataExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Escriba un número entero.</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>disk full</source>
        <translation>disco lleno</translation>
    </message>
    <message>
        <source>disk quota exceeded</source>
        <translation>cuota de disco superada</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permiso denegado</translation>
    </message>
    <message>
        <source>read-only file system</source>
        <translation>sistema de archivos de solo lectura</translation>
    </message>
    <message>
        <source>folder not found</source>
        <translation>carpeta no encontrada</translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>no es una carpeta</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>una carpeta tiene ese nombre</translation>
    </message>
    <message>
        <source>name too long</source>
        <translation>nombre demasiado largo</translation>
    </message>
    <message>
        <source>input/output error</source>
        <translation>error de entrada/salida</translation>
    </message>
    <message>
        <source>on another file system</source>
        <translation>en otro sistema de archivos</translation>
    </message>
</context>
<context>
    <name>FileTransfer</name>
    <message>
        <source>Connection timed out.</source>
        <translation>Se agotó el tiempo de conexión.</translation>
    </message>
    <message>
        <source>The server stored %1 of its %2 bytes.</source>
        <translation>El servidor guardó %1 de sus %2 bytes.</translation>
    </message>
    <message>
        <source>The server did not tell how much of it arrived.</source>
        <translation>El servidor no indicó cuánto llegó.</translation>
    </message>
    <message>
        <source>The server did not let it take its name.</source>
        <translation>El servidor no le dejó tomar su nombre.</translation>
    </message>
</context>
<context>
    <name>FtpConnectResult</name>
    <message>
        <source>The server name is not valid.</source>
        <translation>El nombre del servidor no es válido.</translation>
    </message>
    <message>
        <source>The user name or the password holds a line break.</source>
        <translation>El usuario o la contraseña contienen un salto de línea.</translation>
    </message>
    <message>
        <source>The port must be between 0 and 65535.</source>
        <translation>El puerto debe estar entre 0 y 65535.</translation>
    </message>
    <message>
        <source>The security setting is not one this program knows.</source>
        <translation>Este programa no conoce ese ajuste de seguridad.</translation>
    </message>
    <message>
        <source>The trusted fingerprint in the settings is not a SHA-256 fingerprint.</source>
        <translation>La huella de confianza de la configuración no es una huella SHA-256.</translation>
    </message>
    <message>
        <source>The network library refused a setting, so nothing was sent.</source>
        <translation>La biblioteca de red rechazó un ajuste, así que no se envió nada.</translation>
    </message>
    <message>
        <source>Host not found.</source>
        <translation>No se encontró el host.</translation>
    </message>
    <message>
        <source>The server refused the connection.</source>
        <translation>El servidor rechazó la conexión.</translation>
    </message>
    <message>
        <source>Connection timed out.</source>
        <translation>Se agotó el tiempo de conexión.</translation>
    </message>
    <message>
        <source>Login incorrect.</source>
        <translation>Inicio de sesión incorrecto.</translation>
    </message>
    <message>
        <source>The server does not offer FTP over TLS, so nothing was sent.</source>
        <translation>El servidor no ofrece FTP sobre TLS, así que no se envió nada.</translation>
    </message>
    <message>
        <source>The server&apos;s key is not trusted.</source>
        <translation>La clave del servidor no es de confianza.</translation>
    </message>
    <message>
        <source>The server&apos;s key has changed since you chose to trust it. Another server may be posing as yours, so nothing was sent.
Trusted key: %1
Key presented now: %2</source>
        <translation>La clave del servidor ha cambiado desde que decidió confiar en ella. Otro servidor podría estar haciéndose pasar por el suyo, así que no se envió nada.
Clave de confianza: %1
Clave presentada ahora: %2</translation>
    </message>
    <message>
        <source>(not seen)</source>
        <translation>(no vista)</translation>
    </message>
    <message>
        <source>The secure connection could not be set up.</source>
        <translation>No se pudo establecer la conexión segura.</translation>
    </message>
</context>
<context>
    <name>FtpSession</name>
    <message>
        <source>No connection was made yet</source>
        <translation>Aún no se ha establecido ninguna conexión</translation>
    </message>
    <message>
        <source>The session is closed</source>
        <translation>La sesión está cerrada</translation>
    </message>
</context>
<context>
    <name>ImageBatch</name>
    <message>
        <source>Generating Images...</source>
        <translation>Generando imágenes...</translation>
    </message>
    <message>
        <source>Invalid Group %1 Text. Group names cannot contain &quot;/&quot;.</source>
        <translation>Texto del grupo %1 no válido. Los nombres de grupo no pueden contener «/».</translation>
    </message>
    <message>
        <source>Invalid %1 setting. Extensions cannot contain &quot;/&quot; or a NUL byte.</source>
        <translation>Ajuste %1 no válido. Los sufijos no pueden contener «/» ni un byte NUL.</translation>
    </message>
    <message>
        <source>have the same Save Directory and the same Extension</source>
        <translation>tienen la misma carpeta de destino y el mismo sufijo</translation>
    </message>
    <message>
        <source>have the same Save Directory, and their Extensions give the same names once a 2x version&apos;s &quot;@2x&quot; is added: names ending in &quot;%1&quot;</source>
        <translation>tienen la misma carpeta de destino, y sus sufijos dan los mismos nombres al añadir el «@2x» de una versión 2x: nombres que terminan en «%1»</translation>
    </message>
    <message>
        <source>The %1 and the %2 would be written to the same files: the %3 and the %4 %5.
Give them different directories or extensions under Options &gt; Image Properties.</source>
        <translation>Las %1 y las %2 se escribirían en los mismos archivos: «%3» y «%4» %5.
Deles carpetas o sufijos distintos en Opciones &gt; Propiedades de imagen.</translation>
    </message>
    <message>
        <source>Failed to write file %1: %2</source>
        <translation>No se pudo escribir el archivo %1: %2</translation>
    </message>
</context>
<context>
    <name>ImageSettings</name>
    <message>
        <source>thumbnails</source>
        <translation>miniaturas</translation>
    </message>
    <message>
        <source>Thumbnail Properties</source>
        <translation>Propiedades de las miniaturas</translation>
    </message>
    <message>
        <source>Invalid thumbnail directory. Check Image Property settings under Options.</source>
        <translation>Carpeta de miniaturas no válida. Revise las propiedades de imagen en Opciones.</translation>
    </message>
    <message>
        <source>large images</source>
        <translation>imágenes grandes</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Propiedades de imagen</translation>
    </message>
    <message>
        <source>Invalid large image directory. Check Image Property settings under Options.</source>
        <translation>Carpeta de imágenes grandes no válida. Revise las propiedades de imagen en Opciones.</translation>
    </message>
</context>
<context>
    <name>LockKeyIndicators</name>
    <message>
        <source>CAP</source>
        <translation>MAYÚS</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NÚM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>DESPL</translation>
    </message>
</context>
<context>
    <name>OutputFailure</name>
    <message>
        <source>too small: a side would be under one pixel</source>
        <translation>demasiado pequeña: un lado mediría menos de un píxel</translation>
    </message>
    <message>
        <source>too large for a picture file</source>
        <translation>demasiado grande para un archivo de imagen</translation>
    </message>
    <message>
        <source>would replace a picture of the list</source>
        <translation>reemplazaría una imagen de la lista</translation>
    </message>
    <message>
        <source>could not be encoded</source>
        <translation>no se pudo codificar</translation>
    </message>
    <message>
        <source>Not found, or not a file</source>
        <translation>No encontrado, o no es un archivo</translation>
    </message>
    <message>
        <source>Not a JPEG or HEIC picture</source>
        <translation>No es una imagen JPEG ni HEIC</translation>
    </message>
    <message>
        <source>Larger than 250 megapixels (50 for HEIC)</source>
        <translation>Más de 250 megapíxeles (50 en HEIC)</translation>
    </message>
    <message>
        <source>Colours of no kind a screen shows</source>
        <translation>Colores que ninguna pantalla muestra</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Cortada</translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation>No hay memoria suficiente</translation>
    </message>
    <message>
        <source>Damaged picture data</source>
        <translation>Datos de imagen dañados</translation>
    </message>
    <message>
        <source>could not be written: %1</source>
        <translation>no se pudo escribir: %1</translation>
    </message>
</context>
<context>
    <name>PublishResult</name>
    <message numerus="yes">
        <source>%1 of %n picture made</source>
        <translation>
            <numerusform>%1 de %n imagen creada</numerusform>
            <numerusform>%1 de %n imágenes creadas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n pictures made</source>
        <translation>
            <numerusform>%1 de %n imagen creada</numerusform>
            <numerusform>%1 de %n imágenes creadas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n output could not be written</source>
        <translation>
            <numerusform>%n resultado no se pudo escribir</numerusform>
            <numerusform>%n resultados no se pudieron escribir</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n outputs could not be written</source>
        <translation>
            <numerusform>%n resultado no se pudo escribir</numerusform>
            <numerusform>%n resultados no se pudieron escribir</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n HTML fragment could not be written</source>
        <translation>
            <numerusform>%n fragmento HTML no se pudo escribir</numerusform>
            <numerusform>%n fragmentos HTML no se pudieron escribir</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n HTML fragments could not be written</source>
        <translation>
            <numerusform>%n fragmento HTML no se pudo escribir</numerusform>
            <numerusform>%n fragmentos HTML no se pudieron escribir</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n unchanged</source>
        <translation>
            <numerusform>%n sin cambios</numerusform>
            <numerusform>%n sin cambios</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n removed</source>
        <translation>
            <numerusform>%n eliminado</numerusform>
            <numerusform>%n eliminados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n not removed</source>
        <translation>
            <numerusform>%n no eliminado</numerusform>
            <numerusform>%n no eliminados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n to remove</source>
        <translation>
            <numerusform>%n por eliminar</numerusform>
            <numerusform>%n por eliminar</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file sent</source>
        <translation>
            <numerusform>%n archivo enviado</numerusform>
            <numerusform>%n archivos enviados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files sent</source>
        <translation>
            <numerusform>%n archivo enviado</numerusform>
            <numerusform>%n archivos enviados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file to send</source>
        <translation>
            <numerusform>%n archivo por enviar</numerusform>
            <numerusform>%n archivos por enviar</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files to send</source>
        <translation>
            <numerusform>%n archivo por enviar</numerusform>
            <numerusform>%n archivos por enviar</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file sent</source>
        <translation>
            <numerusform>%1 de %n archivo enviado</numerusform>
            <numerusform>%1 de %n archivos enviados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files sent</source>
        <translation>
            <numerusform>%1 de %n archivo enviado</numerusform>
            <numerusform>%1 de %n archivos enviados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be read</source>
        <translation>
            <numerusform>%n no se pudo leer</numerusform>
            <numerusform>%n no se pudieron leer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be renamed</source>
        <translation>
            <numerusform>%n no se pudo renombrar</numerusform>
            <numerusform>%n no se pudieron renombrar</numerusform>
        </translation>
    </message>
    <message>
        <source>no %1: their directory is missing</source>
        <translation>sin %1: falta su carpeta</translation>
    </message>
    <message>
        <source>Upload failed: no connection to the server.</source>
        <translation>Subida fallida: no hay conexión con el servidor.</translation>
    </message>
    <message>
        <source>without encryption: the server offers no TLS.</source>
        <translation>sin cifrado: el servidor no ofrece TLS.</translation>
    </message>
    <message>
        <source>Cancelled: dry run, %1</source>
        <translation>Cancelado: simulación, %1</translation>
    </message>
    <message>
        <source>Dry run: %1</source>
        <translation>Simulación: %1</translation>
    </message>
    <message>
        <source>The server offers no TLS: it would go in clear.</source>
        <translation>El servidor no ofrece TLS: se enviaría sin cifrar.</translation>
    </message>
    <message>
        <source>Cancelled: %1</source>
        <translation>Cancelado: %1</translation>
    </message>
    <message>
        <source>Upload Complete, %1</source>
        <translation>Subida completa, %1</translation>
    </message>
    <message>
        <source>Upload Complete</source>
        <translation>Subida completa</translation>
    </message>
    <message>
        <source>Upload Complete: %1; %2</source>
        <translation>Subida completa: %1; %2</translation>
    </message>
    <message>
        <source>Upload Complete: %1.</source>
        <translation>Subida completa: %1.</translation>
    </message>
    <message>
        <source>Upload failed: %1</source>
        <translation>Subida fallida: %1</translation>
    </message>
    <message>
        <source>Upload finished: %1</source>
        <translation>Subida terminada: %1</translation>
    </message>
    <message>
        <source>Nothing made.</source>
        <translation>No se creó nada.</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>JPEG Files (*.jpg, *.jpeg) (*.jpeg *.jpg)</source>
        <translation>Archivos JPEG (*.jpg, *.jpeg) (*.jpeg *.jpg)</translation>
    </message>
    <message>
        <source>HEIF Files (*.heic, *.heif) (*.heic *.heif)</source>
        <translation>Archivos HEIF (*.heic, *.heif) (*.heic *.heif)</translation>
    </message>
    <message>
        <source>All Pictures (*.jpeg *.jpg *.heic *.heif)</source>
        <translation>Todas las imágenes (*.jpeg *.jpg *.heic *.heif)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
</context>
<context>
    <name>RemoteFolders</name>
    <message>
        <source>thumbnail directory</source>
        <translation>carpeta de miniaturas</translation>
    </message>
    <message>
        <source>large image directory</source>
        <translation>carpeta de imágenes grandes</translation>
    </message>
</context>
<context>
    <name>RenameRecord</name>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1: no es un archivo normal</translation>
    </message>
    <message>
        <source>The renames cannot be recorded (%1), so the originals keep their names.</source>
        <translation>Los cambios de nombre no se pueden registrar (%1), así que los originales conservan su nombre.</translation>
    </message>
</context>
<context>
    <name>RenameUndo</name>
    <message>
        <source>the undo cannot be recorded (%1)</source>
        <translation>la anulación no se puede registrar (%1)</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>ya no existe</translation>
    </message>
    <message>
        <source>that name is taken</source>
        <translation>ese nombre está ocupado</translation>
    </message>
</context>
<context>
    <name>ServerKey</name>
    <message>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>El certificado del servidor no es de confianza.</translation>
    </message>
    <message>
        <source>The server&apos;s host key is not known yet.</source>
        <translation>La clave de host del servidor aún no se conoce.</translation>
    </message>
    <message>
        <source>Subject: %1
Issuer: %2
Valid from %3 to %4
SHA-256 fingerprint of its key:
%5</source>
        <translation>Titular: %1
Emisor: %2
Válido del %3 al %4
Huella SHA-256 de su clave:
%5</translation>
    </message>
    <message>
        <source>Key type: %1
SHA-256 fingerprint:
%2
(OpenSSH shows it as SHA256:%3)</source>
        <translation>Tipo de clave: %1
Huella SHA-256:
%2
(OpenSSH la muestra como SHA256:%3)</translation>
    </message>
</context>
<context>
    <name>StartArguments</name>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>Usage: morvane [FILE]...
Starts Morvane with the pictures FILE... in its list, as if added with Add.

  --help     show this help
  --version  show the version

Qt&apos;s own options, such as -platform NAME, are understood as well.
</source>
        <translation>Uso: morvane [ARCHIVO]...
Inicia Morvane con las imágenes ARCHIVO... en su lista, como si se añadieran con Añadir.

  --help     muestra esta ayuda
  --version  muestra la versión

También se entienden las opciones propias de Qt, como -platform NOMBRE.
</translation>
    </message>
    <message>
        <source>%1: is a folder</source>
        <translation>%1: es una carpeta</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: no existe el archivo</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Ready</source>
        <translation>Listo</translation>
    </message>
</context>
<context>
    <name>TransferProgress</name>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 de %2 MB</translation>
    </message>
    <message>
        <source>%1 of %2 KB</source>
        <translation>%1 de %2 KB</translation>
    </message>
    <message numerus="yes">
        <source>Uploading %1 of %n file (%2)...</source>
        <translation>
            <numerusform>Subiendo %1 de %n archivo (%2)...</numerusform>
            <numerusform>Subiendo %1 de %n archivos (%2)...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uploading %1 of %n files (%2)...</source>
        <translation>
            <numerusform>Subiendo %1 de %n archivo (%2)...</numerusform>
            <numerusform>Subiendo %1 de %n archivos (%2)...</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TransferQueue</name>
    <message>
        <source>The connection to the server was lost.</source>
        <translation>Se perdió la conexión con el servidor.</translation>
    </message>
</context>
<context>
    <name>UndoRenames</name>
    <message>
        <source>Failed to undo the renames of %1: %2</source>
        <translation>No se pudieron deshacer los cambios de nombre de %1: %2</translation>
    </message>
    <message>
        <source>No renames are recorded in %1</source>
        <translation>No hay cambios de nombre registrados en %1</translation>
    </message>
    <message>
        <source>Failed to rename %1 back to %2: %3</source>
        <translation>No se pudo devolver el nombre de %1 a %2: %3</translation>
    </message>
</context>
<context>
    <name>Uploader</name>
    <message>
        <source>Failed to find %1 on FTP server.
Check FTP Settings under Options.

The folder %2 does not exist and could not be made.</source>
        <translation>No se encontró la %1 en el servidor FTP.
Revise la configuración FTP en Opciones.

La carpeta %2 no existe y no se pudo crear.</translation>
    </message>
    <message>
        <source>Failed to keep the record of what was uploaded in %1.
The next upload sends these files again.</source>
        <translation>No se pudo guardar el registro de lo subido en %1.
La próxima subida volverá a enviar estos archivos.</translation>
    </message>
    <message>
        <source>A later file of this upload goes to the same place: %1</source>
        <translation>Un archivo posterior de esta subida va al mismo sitio: %1</translation>
    </message>
    <message>
        <source>The connection to the server broke off.</source>
        <translation>La conexión con el servidor se cortó.</translation>
    </message>
    <message>
        <source>Failed to upload file %1

Connection timed out.</source>
        <translation>No se pudo subir el archivo %1

Se agotó el tiempo de conexión.</translation>
    </message>
    <message>
        <source>Failed to upload file %1</source>
        <translation>No se pudo subir el archivo %1</translation>
    </message>
    <message numerus="yes">
        <source>The server stopped answering; %n file was not uploaded.</source>
        <translation>
            <numerusform>El servidor dejó de responder; %n archivo no se subió.</numerusform>
            <numerusform>El servidor dejó de responder; %n archivos no se subieron.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server stopped answering; %n files were not uploaded.</source>
        <translation>
            <numerusform>El servidor dejó de responder; %n archivo no se subió.</numerusform>
            <numerusform>El servidor dejó de responder; %n archivos no se subieron.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files this set no longer makes were left on the server: more than %1 at once looks like a mistake.
To remove them all, run morvane-batch --upload --remove-stale=all.</source>
        <translation>
            <numerusform>%n archivo que este conjunto ya no crea se dejó en el servidor: más de %1 a la vez parece un error.
Para eliminarlos todos, ejecute morvane-batch --upload --remove-stale=all.</numerusform>
            <numerusform>%n archivos que este conjunto ya no crea se dejaron en el servidor: más de %1 a la vez parece un error.
Para eliminarlos todos, ejecute morvane-batch --upload --remove-stale=all.</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed to remove file %1 from the server.</source>
        <translation>No se pudo eliminar el archivo %1 del servidor.</translation>
    </message>
    <message>
        <source>Uploading Images...</source>
        <translation>Subiendo imágenes...</translation>
    </message>
    <message>
        <source>Connecting to FTP Server...</source>
        <translation>Conectando con el servidor FTP...</translation>
    </message>
    <message>
        <source>Failed to connect to FTP server.
Check FTP Settings under Options.

%1</source>
        <translation>No se pudo conectar al servidor FTP.
Revise la configuración FTP en Opciones.

%1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>no display found; start it on a desktop, or without one under a virtual display: xvfb-run %1</source>
        <translation>no se encontró ninguna pantalla; inícielo en un escritorio o, sin él, en una pantalla virtual: xvfb-run %1</translation>
    </message>
</context>
<context>
    <name>morvane-batch</name>
    <message>
        <source>--config-dir %1: no such directory</source>
        <translation>--config-dir %1: no existe la carpeta</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>interrumpido</translation>
    </message>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>Falló la inicialización de los sockets de red.</translation>
    </message>
</context>
</TS>
