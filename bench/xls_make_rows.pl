#!/usr/bin/perl
# Writes the workbook benchmark's contract rows as an .xls file (Spreadsheet::WriteExcel, BIFF8;
# files over 7 MB need OLE::Storage_Lite, Debian's libole-storage-lite-perl):
#
#   perl bench/xls_make_rows.pl OUTPUT.xls ROWS
#
# ROWS rows (at most 65,536, an .xls sheet's last) of 36 columns, A to AJ, with the contents of
# ContractRow in bench/workbook_bench.cpp: texts that repeat every hundred rows, four texts of
# each row's own, dates and formatted numbers.
use strict;
use warnings;
use utf8;
use Spreadsheet::WriteExcel;

my ($out, $rows) = @ARGV;
die "usage: $0 OUTPUT.xls ROWS\n" unless defined $rows && $rows =~ /^\d+$/;
die "$rows rows do not fit in an .xls worksheet (65536)\n" if $rows > 65536;

my $book = Spreadsheet::WriteExcel->new($out) or die "Cannot write $out: $!\n";
my $sheet = $book->add_worksheet('Договори');
my %format;
$format{$_} = $book->add_format(num_format => $_)
    for ('dd.mm.yyyy', '0000000000', '0.00" квм"', '0', '#,##0.00');

sub date { my ($r, $c, $y, $m, $d) = @_;
  $sheet->write_date_time($r, $c, sprintf('%04d-%02d-%02dT', $y, $m, $d), $format{'dd.mm.yyyy'}); }

for my $i (1 .. $rows) {
  my $r = $i - 1;
  my @text = map { 'Текст ' . ($i % 100) . "-$_" } 0 .. 35;
  $text[7] = "ул. Александровска $i";
  $text[8] = "Представител $i";
  $text[0] = "$i/2007";
  $text[2] = $i % 3 ? 'Търговски обект' : 'Жилище';
  $text[3] = "Наемател Иванов Петров $i";
  for my $c (0 .. 35) {
    next if $c == 1 || $c == 4 || $c == 18 || $c == 28 || $c == 29 || $c == 30;
    $sheet->write_string($r, $c, $text[$c]);
  }
  date($r, 1, 2000 + $i % 20, 1 + $i % 12, 1 + $i % 28);
  $sheet->write_number($r, 4, 4101010000 + $i, $format{'0000000000'});
  $sheet->write_number($r, 18, 20 + $i % 500, $format{'0.00" квм"'});
  $sheet->write_number($r, 28, 12 + $i % 48, $format{'0'});
  $sheet->write_number($r, 29, 100 + $i * 1.25, $format{'#,##0.00'});
  date($r, 30, 2007, 1 + $i % 12, 1 + $i % 28);
}
$book->close() or die "Cannot write $out: $!\n";
