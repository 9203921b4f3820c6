-- Tabulon.mdb: the database file handed to the user's database manager. One table whose
-- columns are those of export.txt, in the same order, so that export.txt imports into it.
CREATE TABLE fiches (
  Civilite   TEXT,
  Nom        TEXT,
  Prenoms    TEXT,
  Rue        TEXT,
  CodePostal TEXT,
  Ville      TEXT,
  Telephone  TEXT,
  Portable   TEXT,
  EMail      TEXT,
  Champ11    TEXT,
  Champ12    TEXT,
  Champ13    TEXT,
  Champ14    TEXT,
  Champ15    TEXT,
  Champ16    TEXT,
  Champ17    TEXT,
  Champ18    TEXT,
  Champ19    TEXT,
  Champ20    TEXT
);
