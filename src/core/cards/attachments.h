#pragma once
// The documents a card carries beside its record (photo, two scans, two text
// documents), how a chosen file becomes one, and the address file for the
// word processor.
#include "core/base/error.h"
#include "core/cards/card_record.h"
#include "core/cards/side_files.h"

#include <QString>

namespace tb {

enum class Attachment { Photo, ScanA, ScanB, TextA, TextB };

// The side file a document kind is kept in.
SideFile sideFileOf(Attachment kind);
// "photo12", "ScanA12", "DtxtB12": the name a card's document is copied under,
// before its extension.
QString attachmentBase(Attachment kind, long long n);
// Photo and scans must be pictures; text documents may be any file.
bool isPictureAttachment(Attachment kind);
// What the file browser lists for it ("*.jpg;*.jpeg" or "*.txt").
QString attachmentPattern(Attachment kind);

// Why source cannot be attached as a picture (the message), "" when it can.
QString pictureAttachmentRefusal(const QString& source);

// The file already attached under target's name, whatever its case; "" when
// there is none.
QString existingAttachment(const QString& target);

// Copies source over target, then removes the files named as target in
// another case, so that the card keeps the document just chosen.
Status attachFile(const QString& source, const QString& target);
// Removes the document attached under target's name, in every case it is
// spelt; none there is no error.
Status detachFile(const QString& target);

// " Le document scanné n°1 devra être enregistré au format JPG dans le
// répertoire " + folder + " sous le nom de ScanA" + n.
QString scanInstruction(const QString& folder, int document, long long n);

// "adresses.txt": civility, surname and first names; the street; postal code
// and city, each line ended by CR LF, the fields at their full width.
Status writeAddressFile(const QString& path, const CardRecord& card);

}  // namespace tb
