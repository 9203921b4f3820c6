#!/usr/bin/python3
"""F.xls: the spreadsheet of a new card, a small debt follow-up sheet (BIFF8 .xls).

Written with xlwt (Debian python3-xlwt) because it keeps formulas in .xls files.
"""
import sys
import xlwt

target = sys.argv[1] if len(sys.argv) > 1 else "../data/F.xls"

wb = xlwt.Workbook(encoding="utf-8")
ws = wb.add_sheet("Dette")
ws.col(0).width = 256 * 24
ws.col(1).width = 256 * 16
ws.col(2).width = 256 * 36

title = xlwt.easyxf("font: bold on, height 280")
bold = xlwt.easyxf("font: bold on")
head = xlwt.easyxf("font: bold on; borders: bottom thin; pattern: pattern solid, fore_colour gray25")
money = xlwt.easyxf(num_format_str="#,##0.00 [$€-40C];-#,##0.00 [$€-40C]")
money_bold = xlwt.easyxf("font: bold on", num_format_str="#,##0.00 [$€-40C];-#,##0.00 [$€-40C]")
date = xlwt.easyxf(num_format_str="DD/MM/YYYY")

ws.write(0, 0, "Suivi de la dette", title)
ws.write(2, 0, "Débiteur :", bold)
ws.write(3, 0, "Référence :", bold)

FIRST_PAYMENT, LAST_PAYMENT = 14, 39   # rows 15 to 40 of the payments table

ws.write(5, 0, "Montant dû")
ws.write(5, 1, 0, money)
ws.write(6, 0, "Intérêts")
ws.write(6, 1, 0, money)
ws.write(7, 0, "Frais")
ws.write(7, 1, 0, money)
ws.write(8, 0, "Total dû", bold)
ws.write(8, 1, xlwt.Formula("B6+B7+B8"), money_bold)
ws.write(9, 0, "Total recouvré")
ws.write(9, 1, xlwt.Formula("SUM(B%d:B%d)" % (FIRST_PAYMENT + 1, LAST_PAYMENT + 1)), money)
ws.write(10, 0, "Reste dû", bold)
ws.write(10, 1, xlwt.Formula("B9-B10"), money_bold)

ws.write(12, 0, "Paiements reçus", bold)
ws.write(13, 0, "Date", head)
ws.write(13, 1, "Montant", head)
ws.write(13, 2, "Observations", head)
for r in range(FIRST_PAYMENT, LAST_PAYMENT + 1):
    ws.write(r, 0, "", date)
    ws.write(r, 1, "", money)

wb.save(target)
print("F.xls:", target)
