#pragma once
// What the card windows do with a card's documents: attaching them through
// the file browser, showing them here or in the user's programs, the scanner,
// the spreadsheet, the address for the word processor, the e-mail, and the
// printing of one card or of every card.
#include "core/cards/attachments.h"
#include "core/cards/card_record.h"
#include "gui/app/app_context.h"

// ScanDoc1/2: where the scan must be saved, then the scanner program.
void scanDocument(AppContext& ctx, int document, long long n);
// VoirTB3/4, VoirTB1/2: card n's scan or text document kind as it is on
// disk, for Tabulon to show; "" when there is none to show.
QString documentToView(AppContext& ctx, tb::Attachment kind, long long n);
// VoiTI1/2, VoirTT1/2, Feuillexls: the document in the image program, the
// word processor, the spreadsheet program.
void openScanInImageProgram(AppContext& ctx, int document, long long n);
void openTextInWordProcessor(AppContext& ctx, int document, long long n);
void openSpreadsheet(AppContext& ctx, long long n);
// Adresses: "adresses.txt" from the card, opened in the word processor.
void addressToWordProcessor(AppContext& ctx, const CardRecord& card);
// Courrier: a new e-mail to address; nothing when the box is empty.
void writeEmail(AppContext& ctx, const QString& address);
// ImprimFic, ImprimTout: printer, font and colour, then the print.
void printCard(AppContext& ctx, long long n, const CardRecord& card);
void printAllCards(AppContext& ctx);
