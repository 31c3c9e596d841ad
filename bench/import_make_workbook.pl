#!/usr/bin/perl
# Writes a large workbook in the import's column layout for the import benchmark: a header row,
# then CONTRACTS contract rows, each followed by ANNEXES annex rows, and BAD rows with mistakes
# spread among them (a missing monthly price, so the contract group refuses them).
#
#   perl bench/import_make_workbook.pl OUTPUT.xls [CONTRACTS [ANNEXES [BAD [MONTHS [TAG
#        [TENANTS PROPERTIES]]]]]]
#
# TAG (a number 1-99) marks the workbook: its contract numbers ("TAG-n/2007"), tenants, identity
# numbers, addresses and cadastral numbers differ from those of a workbook with another tag, so
# that rows imported by several processes at once can be traced back to their workbook.
# Defaults: 5000 contracts, 1 annex each, 5 bad rows, 24-month terms. Every contract has its
# own tenant and property; rent kinds, settlements and streets repeat as in a real register.
#
# With TENANTS and PROPERTIES (both above 0) the contracts share tenants and properties instead,
# and so do workbooks of different tags: contract n is let to shared tenant 1 + (n - 1) % TENANTS
# ("Общ наемател t", identity number 7100000000 + t) on shared property 1 + (n - 1) % PROPERTIES
# (cadastral identifier 63427.900.(800000 + p).1.1, its own street "ул. Обща p"), without a
# representative. Contract numbers still carry the tag.
use strict;
use warnings;
use utf8;
use Spreadsheet::WriteExcel;

my ($out, $contracts, $annexes, $bad, $months, $tag, $tenants, $properties) = @ARGV;
die "usage: $0 OUTPUT.xls [CONTRACTS [ANNEXES [BAD [MONTHS [TAG [TENANTS PROPERTIES]]]]]]\n"
  unless defined $out;
$tag //= 0;
my $shared = ($tenants // 0) > 0 && ($properties // 0) > 0;
my $mark = $tag ? "$tag-" : '';
$contracts //= 5000;
$annexes //= 1;
$bad //= 5;
$months //= 24;
my $rows_needed = 1 + $contracts * (1 + $annexes) + $bad;
die "$rows_needed rows do not fit in an .xls worksheet (65536)\n" if $rows_needed > 65536;

my @kinds = ('Наем помещение/сграда', 'Наем терен', 'Наем реклама', 'Наем земеделска земя',
             'Наем паркинг', 'Наем гараж');
my @settlements = ('Русе', 'с. Николово', 'Бъзън', 'Мартен', 'Ново село', 'Тетово',
                   'Сандрово', 'Басарбово');
my @quarters = ('Център', 'Дружба 1', 'Дружба 2', 'Дружба 3', 'Възраждане', 'Здравец',
                'Чародейка', 'Хъшове', 'Родина 1', 'Ялта');
my @streets = map { "ул. Улица $_" } 1 .. 40;
my @objects = ('Магазин', 'Терен', 'Рекламно табло', 'Нива', 'Паркомясто', 'Гараж', 'Офис');

my $book = Spreadsheet::WriteExcel->new($out) or die "Cannot write $out: $!\n";
my $sheet = $book->add_worksheet('Договори');
my $date = $book->add_format(num_format => 'dd.mm.yyyy');
my $text = $book->add_format(num_format => '@');

my @header = ('№ на договор', 'Дата на съставяне', 'Вид наем', 'Наемател', 'ЕГН/Булстат',
  'ИН по ДДС', 'Населено място', 'Адрес', 'Представител', 'ЕГН на представителя',
  'Лична карта', '', '', 'Телефон', 'Основание', 'Вид обект', 'Коментар', 'Предназначение',
  'Площ', 'Населено място на имота', 'Местност', 'Жилищен комплекс', 'Улица', 'Номер',
  'Адрес на имота', '№ на документ', '', 'Кадастрален идентификатор', 'Срок', 'Месечна цена',
  'Начало', 'Край на анекса', 'Дата', 'Бележка', 'Статус', 'Допълнителен текст');
$sheet->write_string(0, $_, $header[$_]) for 0 .. $#header;

# Column letters to indexes.
my %c;
{ my $i = 0; $c{$_} = $i++ for qw(A B C D E F G H I J K L M N O P Q R S T U V W X Y Z AA AB AC AD AE AF AG AH AI AJ); }

sub put_date { my ($r, $col, $y, $m, $d) = @_;
  $sheet->write_date_time($r, $c{$col}, sprintf('%04d-%02d-%02dT', $y, $m, $d), $date); }
sub put_text { my ($r, $col, $v) = @_; $sheet->write_string($r, $c{$col}, $v, $text); }

my $bad_every = $bad > 0 ? int($contracts / $bad) || 1 : 0;
my $bad_left = $bad;
my $r = 1;
for my $n (1 .. $contracts) {
  my $number = "$mark$n/2007";
  my $id = $tag * 100000 + $n;
  my $m = 1 + $n % 12;
  my $kind = $kinds[$n % @kinds];
  put_text($r, 'A', $number);
  put_date($r, 'B', 2007, $m, 1);
  put_text($r, 'C', $kind);
  my $t = $shared ? 1 + ($n - 1) % $tenants : 0;
  my $p = $shared ? 1 + ($n - 1) % $properties : 0;
  put_text($r, 'D', $shared ? "Общ наемател $t" : "Наемател Номер $mark$n");
  put_text($r, 'E', sprintf('%010d', $shared ? 7100000000 + $t : 7000000000 + $id));
  put_text($r, 'G', 'Русе');
  put_text($r, 'H', $shared ? "ул. Обща $t" : "ул. Адресна $mark$n");
  if ($n % 3 == 0 && !$shared) {
    put_text($r, 'I', "Представител $n");
    put_text($r, 'J', sprintf('%010d', 6000000000 + $n));
    put_text($r, 'K', "л.к. $n");
    put_text($r, 'N', "082 $n");
  }
  put_text($r, 'P', $objects[$n % @objects]);
  put_text($r, 'Q', "Коментар към договор $number");
  put_text($r, 'R', 'Търговия');
  put_text($r, 'S', (10 + $n % 90) . ' квм');
  if ($shared) {
    put_text($r, 'T', $settlements[$p % @settlements]);
    put_text($r, 'V', "Общ квартал " . (1 + $p % 5));
    put_text($r, 'W', "ул. Обща $p");
    put_text($r, 'X', '' . $p);
    put_text($r, 'Y', "ул. Обща $p $p");
    put_text($r, 'AB', '63427.900.' . (800000 + $p) . '.1.1');
  } else {
    put_text($r, 'T', $settlements[$n % @settlements]);
    put_text($r, 'V', $quarters[$n % @quarters]);
    put_text($r, 'W', $streets[$n % @streets]);
    put_text($r, 'X', '' . (1 + $n % 120));
    put_text($r, 'Y', "$streets[$n % @streets] " . (1 + $n % 120));
    put_text($r, 'AB', "63427." . (1 + $n % 50) . ".$id.1.1");
  }
  $sheet->write_number($r, $c{AC}, $months);
  $sheet->write_number($r, $c{AD}, 100 + $n % 400);
  put_date($r, 'AE', 2007, $m, 15);
  $r++;
  for my $k (1 .. $annexes) {
    put_text($r, 'A', $number);
    put_date($r, 'B', 2007 + $k, $m, 1);
    $sheet->write_number($r, $c{AD}, 120 + $n % 400 + $k);
    put_date($r, 'AE', 2007 + $k, $m, 1);
    $r++;
  }
  if ($bad_left > 0 && $bad_every && $n % $bad_every == 0) {
    put_text($r, 'A', "B$mark$n/2007");
    put_date($r, 'B', 2007, $m, 1);
    put_text($r, 'C', $kind);
    put_text($r, 'D', "Грешен ред $n");
    put_text($r, 'E', sprintf('%010d', 8000000000 + $id));
    put_text($r, 'T', 'Русе');
    $sheet->write_number($r, $c{AC}, $months);
    put_date($r, 'AE', 2007, $m, 15);
    $r++;
    $bad_left--;
  }
}
$book->close() or die "Cannot write $out: $!\n";
print "$out: ", $r - 1, " rows after the header\n";
