<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>BatchArguments</name>
    <message>
        <source>no pictures given</source>
        <translation>aucune image indiquée</translation>
    </message>
    <message>
        <source>--dry-run goes with --upload</source>
        <translation>--dry-run va avec --upload</translation>
    </message>
    <message>
        <source>--remove-stale goes with --upload</source>
        <translation>--remove-stale va avec --upload</translation>
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
        <translation>Utilisation : morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] [--config-dir DOSSIER] [--prefix N=TEXTE]... [--group N] FICHIER... [--group M] FICHIER...
               morvane-batch --undo-renames [FICHIER]
Écrit une vignette et une grande image de chaque image groupée, comme le bouton Générer de Morvane.

  --upload          puis les envoie, comme Générer / Envoyer : les fichiers que le
                    serveur n&apos;a pas tels qu&apos;ils sont
  --dry-run         avec --upload : affiche ce qui serait envoyé, ignoré et supprimé,
                    un fichier par ligne, et n&apos;envoie rien
  --remove-stale    avec --upload : supprime des dossiers distants les fichiers
                    qu&apos;un envoi précédent y a mis et que cet ensemble ne produit
                    plus (jusqu&apos;à 50 ; =all pour n&apos;importe quel nombre), quand tout
                    le reste a réussi
  --config-dir DOSSIER
                    lit morvane.cfg et ftpsettings.cfg dans DOSSIER au lieu du
                    dossier de travail ; ils ne sont jamais écrits
  --prefix N=TEXTE  le préfixe de nom du groupe N (1 à 5) ; vide s&apos;il n&apos;est pas donné
  --group N         met les fichiers qui suivent dans le groupe N (1 à 5), ou avec
                    &quot;none&quot; dans la liste sans groupe ; les fichiers avant le premier
                    --group sont dans le groupe 1
  --undo-renames [FICHIER]
                    redonne leur nom aux originaux que la dernière exécution a
                    renommés, tels que le journal des renommages les liste (FICHIER,
                    ou celui que tient Morvane) ; à donner seul
  --help            affiche cette aide
  --version         affiche la version
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>--group %1: the group is 1 to 5 or none</source>
        <translation>--group %1 : le groupe est 1 à 5 ou none</translation>
    </message>
    <message>
        <source>--prefix %1: write it as N=TEXT</source>
        <translation>--prefix %1 : l&apos;écrire sous la forme N=TEXTE</translation>
    </message>
    <message>
        <source>--prefix %1: the group is 1 to 5</source>
        <translation>--prefix %1 : le groupe est 1 à 5</translation>
    </message>
    <message>
        <source>--undo-renames takes no other options or files</source>
        <translation>--undo-renames ne prend aucune autre option ni aucun fichier</translation>
    </message>
</context>
<context>
    <name>BatchReporter</name>
    <message>
        <source>Failed to rename picture to %1: %2</source>
        <translation>Impossible de renommer l&apos;image en %1 : %2</translation>
    </message>
    <message>
        <source>Failed to read picture %1: %2</source>
        <translation>Impossible de lire l&apos;image %1 : %2</translation>
    </message>
    <message>
        <source>Failed to write file %1: %2</source>
        <translation>Impossible d&apos;écrire le fichier %1 : %2</translation>
    </message>
    <message>
        <source>Did not make file %1: %2</source>
        <translation>Fichier %1 non créé : %2</translation>
    </message>
    <message>
        <source>To trust this server, add this line to ftpsettings.cfg:</source>
        <translation>Pour faire confiance à ce serveur, ajoutez cette ligne à ftpsettings.cfg :</translation>
    </message>
    <message>
        <source>Failed to find file %1</source>
        <translation>Fichier %1 introuvable</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>encore environ %1</translation>
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
        <translation>Application Morvane</translation>
    </message>
    <message>
        <source>This program uses the GD Graphics Library.</source>
        <translation>Ce programme utilise la bibliothèque graphique GD.</translation>
    </message>
    <message>
        <source>About Quarnel</source>
        <translation>À propos de Quarnel</translation>
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
        <translation>Dossiers</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Serveur</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Anonymous</source>
        <translation>Anonyme</translation>
    </message>
    <message>
        <source>Image Dir</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Thumbnail Dir</source>
        <translation>Vignettes</translation>
    </message>
    <message>
        <source>Passive</source>
        <translation>Passif</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sécurité</translation>
    </message>
    <message>
        <source>Connections</source>
        <translation>Connexions</translation>
    </message>
    <message>
        <source>Send unchanged files too</source>
        <translation>Tout envoyer</translation>
    </message>
    <message>
        <source>Remove files this set no longer makes</source>
        <translation>Retirer les fichiers obsolètes</translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation>Tester la connexion</translation>
    </message>
    <message>
        <source>FTP Settings</source>
        <translation>Paramètres FTP</translation>
    </message>
    <message>
        <source>Plain FTP</source>
        <translation>FTP simple</translation>
    </message>
    <message>
        <source>TLS if offered</source>
        <translation>TLS si proposé</translation>
    </message>
    <message>
        <source>TLS required</source>
        <translation>TLS obligatoire</translation>
    </message>
    <message>
        <source>Trust this server from now on and connect? Answer Yes only if you know this is your server&apos;s key.</source>
        <translation>Faire désormais confiance à ce serveur et se connecter ? Ne répondez Oui que si vous savez que c&apos;est la clé de votre serveur.</translation>
    </message>
    <message>
        <source>Failed to connect to FTP server.
Check FTP Settings.

%1</source>
        <translation>Échec de la connexion au serveur FTP.
Vérifiez les paramètres FTP.

%1</translation>
    </message>
    <message>
        <source>Successful connection to FTP server!</source>
        <translation>Connexion au serveur FTP réussie !</translation>
    </message>
    <message>
        <source>Both folders exist.</source>
        <translation>Les deux dossiers existent.</translation>
    </message>
    <message>
        <source>The upload will make these folders:</source>
        <translation>L&apos;envoi créera ces dossiers :</translation>
    </message>
    <message>
        <source>The server offers no TLS: this connection is not encrypted.</source>
        <translation>Le serveur ne propose pas TLS : cette connexion n&apos;est pas chiffrée.</translation>
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
        <translation>Propriétés des vignettes</translation>
    </message>
    <message>
        <source>Save Directory</source>
        <translation>Dossier cible</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Parcourir</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Hauteur</translation>
    </message>
    <message>
        <source>Use Width</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Use Height</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Suffixe</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Haute</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Basse</translation>
    </message>
    <message>
        <source>2x version</source>
        <translation>Version 2x</translation>
    </message>
    <message>
        <source>Keep proportions</source>
        <translation>Garder les proportions</translation>
    </message>
    <message>
        <source>Never enlarge</source>
        <translation>Ne jamais agrandir</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Propriétés de l&apos;image</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>JPEG Quality</source>
        <translation>Qualité JPEG</translation>
    </message>
    <message>
        <source>Original Image Options</source>
        <translation>Options de l&apos;image originale</translation>
    </message>
    <message>
        <source>Rename Original Image</source>
        <translation>Renommer l&apos;original</translation>
    </message>
    <message>
        <source>Web-safe file names</source>
        <translation>Noms sûrs pour le Web</translation>
    </message>
    <message>
        <source>Progressive JPEG</source>
        <translation>JPEG progressif</translation>
    </message>
    <message>
        <source>Keep artist and copyright</source>
        <translation>Garder l&apos;auteur et le copyright</translation>
    </message>
    <message>
        <source>Write HTML fragment</source>
        <translation>Écrire un fragment HTML</translation>
    </message>
    <message>
        <source>Outputs and renamed originals get names in lower-case ASCII without blanks, and
numbers as wide as a group&apos;s largest: &quot;Été à Paris&quot; gives ete-a-paris01.jpg.</source>
        <translation>Les fichiers produits et les originaux renommés reçoivent des noms en ASCII minuscule sans espaces,
et des numéros aussi larges que le plus grand du groupe : « Été à Paris » donne ete-a-paris01.jpg.</translation>
    </message>
    <message>
        <source>Select the directory for the thumb images.</source>
        <translation>Choisissez le dossier des vignettes.</translation>
    </message>
    <message>
        <source>Thumb Image Directory</source>
        <translation>Dossier des vignettes</translation>
    </message>
    <message>
        <source>Select the directory for the large images.</source>
        <translation>Choisissez le dossier des grandes images.</translation>
    </message>
    <message>
        <source>Large Image Directory</source>
        <translation>Dossier des grandes images</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Morvane is still making or sending pictures.
Stop and close?</source>
        <translation>Morvane crée ou envoie encore des images.
Arrêter et fermer ?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouveau</translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation>Créer un nouveau document</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Quitter l&apos;application ; propose d&apos;enregistrer les documents</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>Sort by File &amp;Name</source>
        <translation>Trier par &amp;nom de fichier</translation>
    </message>
    <message>
        <source>Sort the list by file name.</source>
        <translation>Trier la liste par nom de fichier.</translation>
    </message>
    <message>
        <source>Sort by &amp;Date Taken</source>
        <translation>Trier par &amp;date de prise de vue</translation>
    </message>
    <message>
        <source>Sort the list by the date the pictures were taken.</source>
        <translation>Trier la liste par date de prise de vue des images.</translation>
    </message>
    <message>
        <source>Sort by Order &amp;Added</source>
        <translation>Trier par ordre d&apos;&amp;ajout</translation>
    </message>
    <message>
        <source>Put the list back in the order the pictures were added.</source>
        <translation>Remettre la liste dans l&apos;ordre où les images ont été ajoutées.</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Déplacer vers le &amp;haut</translation>
    </message>
    <message>
        <source>Move the selected pictures up one row.</source>
        <translation>Déplacer les images sélectionnées d&apos;une ligne vers le haut.</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>Déplacer vers le &amp;bas</translation>
    </message>
    <message>
        <source>Move the selected pictures down one row.</source>
        <translation>Déplacer les images sélectionnées d&apos;une ligne vers le bas.</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Image Properties</source>
        <translation>&amp;Propriétés de l&apos;image</translation>
    </message>
    <message>
        <source>Modify the image save settings.</source>
        <translation>Modifier les paramètres d&apos;enregistrement des images.</translation>
    </message>
    <message>
        <source>&amp;Ftp Settings</source>
        <translation>Paramètres &amp;FTP</translation>
    </message>
    <message>
        <source>Modify the FTP settings.</source>
        <translation>Modifier les paramètres FTP.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>&amp;About Quarnel...</source>
        <translation>À &amp;propos de Quarnel...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Afficher les informations sur le programme, le numéro de version et le copyright</translation>
    </message>
</context>
<context>
    <name>CMorvaneApp</name>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>L&apos;initialisation des sockets réseau a échoué.</translation>
    </message>
</context>
<context>
    <name>CMorvaneView</name>
    <message>
        <source>Images</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <source>Group %1 Text</source>
        <translation>Texte groupe %1</translation>
    </message>
    <message>
        <source>Progress Bar</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>Générer</translation>
    </message>
    <message>
        <source>Generate / Upload</source>
        <translation>Générer / Envoyer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stop the run (Esc)</source>
        <translation>Arrêter l&apos;exécution (Échap)</translation>
    </message>
    <message>
        <source>Image Files</source>
        <translation>Fichiers image</translation>
    </message>
    <message>
        <source>Cannot be read as a picture</source>
        <translation>Illisible en tant qu&apos;image</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 pixels</translation>
    </message>
    <message>
        <source>Taken %1</source>
        <translation>Prise le %1</translation>
    </message>
    <message>
        <source>No date taken; file changed %1</source>
        <translation>Pas de date de prise de vue ; fichier modifié le %1</translation>
    </message>
    <message>
        <source>No date taken</source>
        <translation>Pas de date de prise de vue</translation>
    </message>
    <message>
        <source>Cannot be read:
%1</source>
        <translation>Illisible :
%1</translation>
    </message>
    <message>
        <source>Could not be renamed to %1: %2</source>
        <translation>Impossible de renommer en %1 : %2</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Select Group</source>
        <translation>Choisir le groupe</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
</context>
<context>
    <name>ConfirmFolder</name>
    <message>
        <source>The folder:

%1

does not exist. Do you want the folder to be created?</source>
        <translation>Le dossier :

%1

n&apos;existe pas. Voulez-vous créer ce dossier ?</translation>
    </message>
    <message>
        <source>The folder:

%1

is invalid. Please reenter.</source>
        <translation>Le dossier :

%1

n&apos;est pas valide. Veuillez le saisir de nouveau.</translation>
    </message>
    <message>
        <source>The folder:

%1

can not be created. Please double check.</source>
        <translation>Le dossier :

%1

ne peut pas être créé. Veuillez vérifier.</translation>
    </message>
</context>
<context>
    <name>DataExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation>Veuillez saisir un nombre entier.</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>disk full</source>
        <translation>disque plein</translation>
    </message>
    <message>
        <source>disk quota exceeded</source>
        <translation>quota disque dépassé</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission refusée</translation>
    </message>
    <message>
        <source>read-only file system</source>
        <translation>système de fichiers en lecture seule</translation>
    </message>
    <message>
        <source>folder not found</source>
        <translation>dossier introuvable</translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>un dossier porte ce nom</translation>
    </message>
    <message>
        <source>name too long</source>
        <translation>nom trop long</translation>
    </message>
    <message>
        <source>input/output error</source>
        <translation>erreur d&apos;entrée/sortie</translation>
    </message>
    <message>
        <source>on another file system</source>
        <translation>sur un autre système de fichiers</translation>
    </message>
</context>
<context>
    <name>FileTransfer</name>
    <message>
        <source>Connection timed out.</source>
        <translation>Délai de connexion dépassé.</translation>
    </message>
    <message>
        <source>The server stored %1 of its %2 bytes.</source>
        <translation>Le serveur a enregistré %1 de ses %2 octets.</translation>
    </message>
    <message>
        <source>The server did not tell how much of it arrived.</source>
        <translation>Le serveur n&apos;a pas indiqué quelle part en est arrivée.</translation>
    </message>
    <message>
        <source>The server did not let it take its name.</source>
        <translation>Le serveur ne l&apos;a pas laissé prendre son nom.</translation>
    </message>
</context>
<context>
    <name>FtpConnectResult</name>
    <message>
        <source>The server name is not valid.</source>
        <translation>Le nom du serveur n&apos;est pas valide.</translation>
    </message>
    <message>
        <source>The user name or the password holds a line break.</source>
        <translation>Le nom d&apos;utilisateur ou le mot de passe contient un saut de ligne.</translation>
    </message>
    <message>
        <source>The port must be between 0 and 65535.</source>
        <translation>Le port doit être compris entre 0 et 65535.</translation>
    </message>
    <message>
        <source>The security setting is not one this program knows.</source>
        <translation>Ce programme ne connaît pas ce réglage de sécurité.</translation>
    </message>
    <message>
        <source>The trusted fingerprint in the settings is not a SHA-256 fingerprint.</source>
        <translation>L&apos;empreinte de confiance des paramètres n&apos;est pas une empreinte SHA-256.</translation>
    </message>
    <message>
        <source>The network library refused a setting, so nothing was sent.</source>
        <translation>La bibliothèque réseau a refusé un réglage, rien n&apos;a donc été envoyé.</translation>
    </message>
    <message>
        <source>Host not found.</source>
        <translation>Hôte introuvable.</translation>
    </message>
    <message>
        <source>The server refused the connection.</source>
        <translation>Le serveur a refusé la connexion.</translation>
    </message>
    <message>
        <source>Connection timed out.</source>
        <translation>Délai de connexion dépassé.</translation>
    </message>
    <message>
        <source>Login incorrect.</source>
        <translation>Identifiants incorrects.</translation>
    </message>
    <message>
        <source>The server does not offer FTP over TLS, so nothing was sent.</source>
        <translation>Le serveur ne propose pas FTP sur TLS, rien n&apos;a donc été envoyé.</translation>
    </message>
    <message>
        <source>The server&apos;s key is not trusted.</source>
        <translation>La clé du serveur n&apos;est pas de confiance.</translation>
    </message>
    <message>
        <source>The server&apos;s key has changed since you chose to trust it. Another server may be posing as yours, so nothing was sent.
Trusted key: %1
Key presented now: %2</source>
        <translation>La clé du serveur a changé depuis que vous lui avez fait confiance. Un autre serveur se fait peut-être passer pour le vôtre, rien n&apos;a donc été envoyé.
Clé de confiance : %1
Clé présentée maintenant : %2</translation>
    </message>
    <message>
        <source>(not seen)</source>
        <translation>(non vue)</translation>
    </message>
    <message>
        <source>The secure connection could not be set up.</source>
        <translation>La connexion sécurisée n&apos;a pas pu être établie.</translation>
    </message>
</context>
<context>
    <name>FtpSession</name>
    <message>
        <source>No connection was made yet</source>
        <translation>Aucune connexion n&apos;a encore été établie</translation>
    </message>
    <message>
        <source>The session is closed</source>
        <translation>La session est fermée</translation>
    </message>
</context>
<context>
    <name>ImageBatch</name>
    <message>
        <source>Generating Images...</source>
        <translation>Création des images...</translation>
    </message>
    <message>
        <source>Invalid Group %1 Text. Group names cannot contain &quot;/&quot;.</source>
        <translation>Texte du groupe %1 non valide. Les noms de groupe ne peuvent pas contenir « / ».</translation>
    </message>
    <message>
        <source>Invalid %1 setting. Extensions cannot contain &quot;/&quot; or a NUL byte.</source>
        <translation>Réglage %1 non valide. Les suffixes ne peuvent contenir ni « / » ni octet NUL.</translation>
    </message>
    <message>
        <source>have the same Save Directory and the same Extension</source>
        <translation>ont le même dossier d&apos;enregistrement et le même suffixe</translation>
    </message>
    <message>
        <source>have the same Save Directory, and their Extensions give the same names once a 2x version&apos;s &quot;@2x&quot; is added: names ending in &quot;%1&quot;</source>
        <translation>ont le même dossier d&apos;enregistrement, et leurs suffixes donnent les mêmes noms dès qu&apos;on ajoute le « @2x » d&apos;une version 2x : des noms finissant par « %1 »</translation>
    </message>
    <message>
        <source>The %1 and the %2 would be written to the same files: the %3 and the %4 %5.
Give them different directories or extensions under Options &gt; Image Properties.</source>
        <translation>Les %1 et les %2 seraient écrites dans les mêmes fichiers : « %3 » et « %4 » %5.
Donnez-leur des dossiers ou des suffixes différents dans Options &gt; Propriétés de l&apos;image.</translation>
    </message>
    <message>
        <source>Failed to write file %1: %2</source>
        <translation>Impossible d&apos;écrire le fichier %1 : %2</translation>
    </message>
</context>
<context>
    <name>ImageSettings</name>
    <message>
        <source>thumbnails</source>
        <translation>vignettes</translation>
    </message>
    <message>
        <source>Thumbnail Properties</source>
        <translation>Propriétés des vignettes</translation>
    </message>
    <message>
        <source>Invalid thumbnail directory. Check Image Property settings under Options.</source>
        <translation>Dossier des vignettes non valide. Vérifiez les propriétés de l&apos;image dans Options.</translation>
    </message>
    <message>
        <source>large images</source>
        <translation>grandes images</translation>
    </message>
    <message>
        <source>Image Properties</source>
        <translation>Propriétés de l&apos;image</translation>
    </message>
    <message>
        <source>Invalid large image directory. Check Image Property settings under Options.</source>
        <translation>Dossier des grandes images non valide. Vérifiez les propriétés de l&apos;image dans Options.</translation>
    </message>
</context>
<context>
    <name>LockKeyIndicators</name>
    <message>
        <source>CAP</source>
        <translation>MAJ</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>DÉFIL</translation>
    </message>
</context>
<context>
    <name>OutputFailure</name>
    <message>
        <source>too small: a side would be under one pixel</source>
        <translation>trop petite : un côté ferait moins d&apos;un pixel</translation>
    </message>
    <message>
        <source>too large for a picture file</source>
        <translation>trop grande pour un fichier image</translation>
    </message>
    <message>
        <source>would replace a picture of the list</source>
        <translation>remplacerait une image de la liste</translation>
    </message>
    <message>
        <source>could not be encoded</source>
        <translation>n&apos;a pas pu être encodée</translation>
    </message>
    <message>
        <source>Not found, or not a file</source>
        <translation>Introuvable, ou n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>Not a JPEG or HEIC picture</source>
        <translation>N&apos;est pas une image JPEG ou HEIC</translation>
    </message>
    <message>
        <source>Larger than 250 megapixels (50 for HEIC)</source>
        <translation>Plus de 250 mégapixels (50 pour HEIC)</translation>
    </message>
    <message>
        <source>Colours of no kind a screen shows</source>
        <translation>Couleurs qu&apos;aucun écran n&apos;affiche</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>Tronquée</translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Damaged picture data</source>
        <translation>Données d&apos;image endommagées</translation>
    </message>
    <message>
        <source>could not be written: %1</source>
        <translation>n&apos;a pas pu être écrite : %1</translation>
    </message>
</context>
<context>
    <name>PublishResult</name>
    <message numerus="yes">
        <source>%1 of %n picture made</source>
        <translation>
            <numerusform>%1 image sur %n créée</numerusform>
            <numerusform>%1 images sur %n créées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n pictures made</source>
        <translation>
            <numerusform>%1 image sur %n créée</numerusform>
            <numerusform>%1 images sur %n créées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n output could not be written</source>
        <translation>
            <numerusform>%n fichier produit n&apos;a pas pu être écrit</numerusform>
            <numerusform>%n fichiers produits n&apos;ont pas pu être écrits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n outputs could not be written</source>
        <translation>
            <numerusform>%n fichier produit n&apos;a pas pu être écrit</numerusform>
            <numerusform>%n fichiers produits n&apos;ont pas pu être écrits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n HTML fragment could not be written</source>
        <translation>
            <numerusform>%n fragment HTML n&apos;a pas pu être écrit</numerusform>
            <numerusform>%n fragments HTML n&apos;ont pas pu être écrits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n HTML fragments could not be written</source>
        <translation>
            <numerusform>%n fragment HTML n&apos;a pas pu être écrit</numerusform>
            <numerusform>%n fragments HTML n&apos;ont pas pu être écrits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n unchanged</source>
        <translation>
            <numerusform>%n inchangé</numerusform>
            <numerusform>%n inchangés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n removed</source>
        <translation>
            <numerusform>%n supprimé</numerusform>
            <numerusform>%n supprimés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n not removed</source>
        <translation>
            <numerusform>%n non supprimé</numerusform>
            <numerusform>%n non supprimés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n to remove</source>
        <translation>
            <numerusform>%n à supprimer</numerusform>
            <numerusform>%n à supprimer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file sent</source>
        <translation>
            <numerusform>%n fichier envoyé</numerusform>
            <numerusform>%n fichiers envoyés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files sent</source>
        <translation>
            <numerusform>%n fichier envoyé</numerusform>
            <numerusform>%n fichiers envoyés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file to send</source>
        <translation>
            <numerusform>%n fichier à envoyer</numerusform>
            <numerusform>%n fichiers à envoyer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files to send</source>
        <translation>
            <numerusform>%n fichier à envoyer</numerusform>
            <numerusform>%n fichiers à envoyer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n file sent</source>
        <translation>
            <numerusform>%1 fichier sur %n envoyé</numerusform>
            <numerusform>%1 fichiers sur %n envoyés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files sent</source>
        <translation>
            <numerusform>%1 fichier sur %n envoyé</numerusform>
            <numerusform>%1 fichiers sur %n envoyés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be read</source>
        <translation>
            <numerusform>%n n&apos;a pas pu être lue</numerusform>
            <numerusform>%n n&apos;ont pas pu être lues</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be renamed</source>
        <translation>
            <numerusform>%n n&apos;a pas pu être renommée</numerusform>
            <numerusform>%n n&apos;ont pas pu être renommées</numerusform>
        </translation>
    </message>
    <message>
        <source>no %1: their directory is missing</source>
        <translation>pas de %1 : leur dossier est absent</translation>
    </message>
    <message>
        <source>Upload failed: no connection to the server.</source>
        <translation>Échec de l&apos;envoi : pas de connexion au serveur.</translation>
    </message>
    <message>
        <source>without encryption: the server offers no TLS.</source>
        <translation>sans chiffrement : le serveur ne propose pas TLS.</translation>
    </message>
    <message>
        <source>Cancelled: dry run, %1</source>
        <translation>Annulé : essai à blanc, %1</translation>
    </message>
    <message>
        <source>Dry run: %1</source>
        <translation>Essai à blanc : %1</translation>
    </message>
    <message>
        <source>The server offers no TLS: it would go in clear.</source>
        <translation>Le serveur ne propose pas TLS : l&apos;envoi se ferait en clair.</translation>
    </message>
    <message>
        <source>Cancelled: %1</source>
        <translation>Annulé : %1</translation>
    </message>
    <message>
        <source>Upload Complete, %1</source>
        <translation>Envoi terminé, %1</translation>
    </message>
    <message>
        <source>Upload Complete</source>
        <translation>Envoi terminé</translation>
    </message>
    <message>
        <source>Upload Complete: %1; %2</source>
        <translation>Envoi terminé : %1 ; %2</translation>
    </message>
    <message>
        <source>Upload Complete: %1.</source>
        <translation>Envoi terminé : %1.</translation>
    </message>
    <message>
        <source>Upload failed: %1</source>
        <translation>Échec de l&apos;envoi : %1</translation>
    </message>
    <message>
        <source>Upload finished: %1</source>
        <translation>Envoi fini : %1</translation>
    </message>
    <message>
        <source>Nothing made.</source>
        <translation>Rien de créé.</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>JPEG Files (*.jpg, *.jpeg) (*.jpeg *.jpg)</source>
        <translation>Fichiers JPEG (*.jpg, *.jpeg) (*.jpeg *.jpg)</translation>
    </message>
    <message>
        <source>HEIF Files (*.heic, *.heif) (*.heic *.heif)</source>
        <translation>Fichiers HEIF (*.heic, *.heif) (*.heic *.heif)</translation>
    </message>
    <message>
        <source>All Pictures (*.jpeg *.jpg *.heic *.heif)</source>
        <translation>Toutes les images (*.jpeg *.jpg *.heic *.heif)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
</context>
<context>
    <name>RemoteFolders</name>
    <message>
        <source>thumbnail directory</source>
        <translation>dossier des vignettes</translation>
    </message>
    <message>
        <source>large image directory</source>
        <translation>dossier des grandes images</translation>
    </message>
</context>
<context>
    <name>RenameRecord</name>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1 : n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>The renames cannot be recorded (%1), so the originals keep their names.</source>
        <translation>Les renommages ne peuvent pas être consignés (%1), les originaux gardent donc leur nom.</translation>
    </message>
</context>
<context>
    <name>RenameUndo</name>
    <message>
        <source>the undo cannot be recorded (%1)</source>
        <translation>l&apos;annulation ne peut pas être consignée (%1)</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>il n&apos;existe plus</translation>
    </message>
    <message>
        <source>that name is taken</source>
        <translation>ce nom est pris</translation>
    </message>
</context>
<context>
    <name>ServerKey</name>
    <message>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>Le certificat du serveur n&apos;est pas de confiance.</translation>
    </message>
    <message>
        <source>The server&apos;s host key is not known yet.</source>
        <translation>La clé d&apos;hôte du serveur n&apos;est pas encore connue.</translation>
    </message>
    <message>
        <source>Subject: %1
Issuer: %2
Valid from %3 to %4
SHA-256 fingerprint of its key:
%5</source>
        <translation>Sujet : %1
Émetteur : %2
Valide du %3 au %4
Empreinte SHA-256 de sa clé :
%5</translation>
    </message>
    <message>
        <source>Key type: %1
SHA-256 fingerprint:
%2
(OpenSSH shows it as SHA256:%3)</source>
        <translation>Type de clé : %1
Empreinte SHA-256 :
%2
(OpenSSH l&apos;affiche ainsi : SHA256:%3)</translation>
    </message>
</context>
<context>
    <name>StartArguments</name>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>Usage: morvane [FILE]...
Starts Morvane with the pictures FILE... in its list, as if added with Add.

  --help     show this help
  --version  show the version

Qt&apos;s own options, such as -platform NAME, are understood as well.
</source>
        <translation>Utilisation : morvane [FICHIER]...
Lance Morvane avec les images FICHIER... dans sa liste, comme ajoutées avec Ajouter.

  --help     affiche cette aide
  --version  affiche la version

Les options propres à Qt, comme -platform NOM, sont comprises aussi.
</translation>
    </message>
    <message>
        <source>%1: is a folder</source>
        <translation>%1 : est un dossier</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1 : fichier inexistant</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
</context>
<context>
    <name>TransferProgress</name>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 sur %2 Mo</translation>
    </message>
    <message>
        <source>%1 of %2 KB</source>
        <translation>%1 sur %2 ko</translation>
    </message>
    <message numerus="yes">
        <source>Uploading %1 of %n file (%2)...</source>
        <translation>
            <numerusform>Envoi de %1 fichier sur %n (%2)...</numerusform>
            <numerusform>Envoi de %1 fichiers sur %n (%2)...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uploading %1 of %n files (%2)...</source>
        <translation>
            <numerusform>Envoi de %1 fichier sur %n (%2)...</numerusform>
            <numerusform>Envoi de %1 fichiers sur %n (%2)...</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TransferQueue</name>
    <message>
        <source>The connection to the server was lost.</source>
        <translation>La connexion au serveur a été perdue.</translation>
    </message>
</context>
<context>
    <name>UndoRenames</name>
    <message>
        <source>Failed to undo the renames of %1: %2</source>
        <translation>Impossible d&apos;annuler les renommages de %1 : %2</translation>
    </message>
    <message>
        <source>No renames are recorded in %1</source>
        <translation>Aucun renommage n&apos;est consigné dans %1</translation>
    </message>
    <message>
        <source>Failed to rename %1 back to %2: %3</source>
        <translation>Impossible de renommer %1 en %2 : %3</translation>
    </message>
</context>
<context>
    <name>Uploader</name>
    <message>
        <source>Failed to find %1 on FTP server.
Check FTP Settings under Options.

The folder %2 does not exist and could not be made.</source>
        <translation>Impossible de trouver le %1 sur le serveur FTP.
Vérifiez les paramètres FTP dans Options.

Le dossier %2 n&apos;existe pas et n&apos;a pas pu être créé.</translation>
    </message>
    <message>
        <source>Failed to keep the record of what was uploaded in %1.
The next upload sends these files again.</source>
        <translation>Impossible de conserver le journal des envois dans %1.
Le prochain envoi renverra ces fichiers.</translation>
    </message>
    <message>
        <source>A later file of this upload goes to the same place: %1</source>
        <translation>Un fichier ultérieur de cet envoi va au même endroit : %1</translation>
    </message>
    <message>
        <source>The connection to the server broke off.</source>
        <translation>La connexion au serveur a été interrompue.</translation>
    </message>
    <message>
        <source>Failed to upload file %1

Connection timed out.</source>
        <translation>Impossible d&apos;envoyer le fichier %1

Délai de connexion dépassé.</translation>
    </message>
    <message>
        <source>Failed to upload file %1</source>
        <translation>Impossible d&apos;envoyer le fichier %1</translation>
    </message>
    <message numerus="yes">
        <source>The server stopped answering; %n file was not uploaded.</source>
        <translation>
            <numerusform>Le serveur ne répond plus ; %n fichier n&apos;a pas été envoyé.</numerusform>
            <numerusform>Le serveur ne répond plus ; %n fichiers n&apos;ont pas été envoyés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server stopped answering; %n files were not uploaded.</source>
        <translation>
            <numerusform>Le serveur ne répond plus ; %n fichier n&apos;a pas été envoyé.</numerusform>
            <numerusform>Le serveur ne répond plus ; %n fichiers n&apos;ont pas été envoyés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files this set no longer makes were left on the server: more than %1 at once looks like a mistake.
To remove them all, run morvane-batch --upload --remove-stale=all.</source>
        <translation>
            <numerusform>%n fichier que cet ensemble ne produit plus a été laissé sur le serveur : plus de %1 à la fois ressemble à une erreur.
Pour tous les supprimer, lancez morvane-batch --upload --remove-stale=all.</numerusform>
            <numerusform>%n fichiers que cet ensemble ne produit plus ont été laissés sur le serveur : plus de %1 à la fois ressemble à une erreur.
Pour tous les supprimer, lancez morvane-batch --upload --remove-stale=all.</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed to remove file %1 from the server.</source>
        <translation>Impossible de supprimer le fichier %1 du serveur.</translation>
    </message>
    <message>
        <source>Uploading Images...</source>
        <translation>Envoi des images...</translation>
    </message>
    <message>
        <source>Connecting to FTP Server...</source>
        <translation>Connexion au serveur FTP...</translation>
    </message>
    <message>
        <source>Failed to connect to FTP server.
Check FTP Settings under Options.

%1</source>
        <translation>Échec de la connexion au serveur FTP.
Vérifiez les paramètres FTP dans Options.

%1</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>no display found; start it on a desktop, or without one under a virtual display: xvfb-run %1</source>
        <translation>aucun affichage trouvé ; lancez-le sur un bureau, ou sans bureau sous un affichage virtuel : xvfb-run %1</translation>
    </message>
</context>
<context>
    <name>morvane-batch</name>
    <message>
        <source>--config-dir %1: no such directory</source>
        <translation>--config-dir %1 : dossier inexistant</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>interrompu</translation>
    </message>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation>L&apos;initialisation des sockets réseau a échoué.</translation>
    </message>
</context>
</TS>
