#!/usr/bin/perl
# Writes examples/contracts.xls: a small workbook of rental contracts in the import's column
# layout, with a header row that names every column. It shows what the import expects: a
# contract per row, its annexes on the rows below it under the same number, dates and amounts
# typed as dates and numbers, and two rows with mistakes that the import reports.
#
#   perl examples/make_contracts.pl [OUTPUT.xls]
#
# With --template it writes the empty template the package installs instead: the same header
# row, and each column formatted for what is typed into it (dates, amounts, and text that keeps
# the leading zeros of identity numbers).
#
#   perl examples/make_contracts.pl --template OUTPUT.xls
use strict;
use warnings;
use utf8;
use Spreadsheet::WriteExcel;

my $template = @ARGV && $ARGV[0] eq '--template' ? shift : undef;
my $out = shift // do { my $d = $0; $d =~ s{[^/]*$}{}; ($d || './') . 'contracts.xls' };
die "Usage: $0 --template OUTPUT.xls\n" if $template && !defined $out;

my @columns = qw(A B C D E F G H I J K L M N O P Q R S T U V W X Y Z AA AB AC AD AE AF AG AH AI AJ);
my %header = (
  A => '№ на договор', B => 'Дата на съставяне', C => 'Вид наем',
  D => 'Наемател', E => 'ЕГН/Булстат на наемателя', F => 'ИН по ДДС на наемателя',
  G => 'Населено място на наемателя', H => 'Адрес на наемателя',
  I => 'Представител (МОЛ)', J => 'ЕГН на представителя', K => 'Лична карта на представителя',
  L => '(не се чете)', M => '(не се чете)', N => 'Телефон на представителя',
  O => 'Основание', P => 'Вид обект', Q => 'Коментар', R => 'Предназначение',
  S => 'Площ (квм, дка, хка)', T => 'Населено място на имота', U => 'Местност',
  V => 'Жилищен комплекс', W => 'Улица', X => 'Номер', Y => 'Адрес на имота',
  Z => '№ на документ за имота', AA => '(не се чете)', AB => 'Кадастрален идентификатор',
  AC => 'Срок (месеци)', AD => 'Месечна цена', AE => 'Начало (на договора или анекса)',
  AF => 'Край на анекса', AG => 'Дата на промяна на статуса', AH => 'Бележка към датата',
  AI => 'Статус (Д/Н)', AJ => 'Допълнителен текст',
);

# Cells: a date as 'dd.mm.yyyy' in B, AE, AF and AG is written as a date; numbers in AC and AD
# as numbers; everything else as text (identity numbers keep their leading zeros).
my @rows = (
  # 2: premises, citizen tenant, six-character cadastral number; annex on row 3
  { A => '1/2007', B => '15.01.2007', C => 'Наем помещение/сграда', D => 'Иван Петров Иванов',
    E => '7503124562', G => 'Русе', H => 'ул. Борисова 12', P => 'Магазин',
    R => 'Търговия', S => '45 квм', T => 'Русе', V => 'Център', W => 'ул. Александровска',
    X => '25', Y => 'ул. Александровска 25, партер', AB => '501123', AC => 24, AD => 350,
    AE => '01.02.2007', Q => 'Вход откъм двора' },
  { A => '1/2007', B => '20.01.2008', AD => 380, AE => '01.02.2008' },
  # 4: agricultural land, firm tenant with its representative, village found in the register
  { A => '2/2007', B => '20.02.2007', C => 'Наем земеделска земя', D => 'Агро Инвест ООД',
    E => '203154728', F => 'BG203154728', G => 'Русе', H => 'бул. Липник 7',
    I => 'Георги Стоянов Колев', J => '6808154321', K => 'л.к. 123456789, МВР Русе',
    N => '082 812345', P => 'Нива', S => '12,5 дка', T => 'с. Николово', U => 'Герена',
    AB => '51679.20.15', AC => 60, AD => 1200, AE => '01.03.2007', O => 'Решение № 412/2007' },
  # 5: plot, tenant known only by its VAT number; annexes on rows 6 and 7 (row 7 is refused)
  { A => '3/2007', B => '10.03.2007', C => 'Наем терен', D => 'Строй Корект ЕООД',
    F => 'BG831045275', G => 'Русе', H => 'ул. Плиска 3', P => 'Терен', R => 'Склад',
    S => '150 квм', T => 'Русе', V => 'Дружба 3', AB => '63427.2.305.1.1', AC => 12,
    AD => 600, AE => '15.03.2007' },
  { A => '3/2007', B => '20.09.2007', AD => 650, AE => '01.10.2007' },
  { A => '3/2007', B => '05.01.2007', AD => 700, AE => '01.01.2007' },
  # 8: advertising, the tenant of row 2 found again by number (no name needed)
  { A => '4/2007', B => '25.03.2007', C => 'Наем реклама', E => '7503124562',
    P => 'Рекламно табло', S => '12 квм', T => 'Русе', W => 'бул. Цар Освободител',
    X => '101', AC => 36, AD => 120, AE => '01.04.2007', AI => 'д' },
  # 9: parking on the property of row 2, found by its cadastral number; status date in AG
  { A => '5/2007', B => '20.04.2007', C => 'Наем паркинг', D => 'Мария Димитрова Георгиева',
    E => '8206157895', G => 'Русе', H => 'ул. Славянска 8', P => 'Паркомясто',
    S => '15 квм', T => 'Русе', AB => '123', AC => 12, AD => 40, AE => '01.05.2007',
    AG => '15.06.2007', AH => 'Предупредително писмо' },
  # 10: premises, a second firm with the same representative (found by number)
  { A => '6/2007', B => '15.05.2007', C => 'Наем помещение/сграда', D => 'Дунав Консулт АД',
    E => '117009211', F => 'BG117009211', G => 'Русе', H => 'ул. Дондуков 2',
    I => 'Георги Стоянов Колев', J => '6808154321', P => 'Офис', R => 'Офис',
    S => '80 квм', T => 'гр. Русе', V => 'Възраждане', W => 'ул. Скопие', X => '14',
    AC => 24, AD => 800, AE => '01.06.2007', AI => 'Д', AG => '01.09.2007',
    AH => 'Съдебно дело 215/2007' },
  # 11: a row with mistakes: no rent type and a term in words
  { A => '7/2007', B => '20.05.2007', C => '', D => 'Петър Николов Петров',
    E => '7112308763', T => 'Русе', AC => 'дванадесет', AD => 90, AE => '01.06.2007',
    S => '20 квм' },
  # 12: a rent type the register does not know yet
  { A => '8/2007', B => '01.06.2007', C => 'Наем гараж', D => 'Николай Иванов Тодоров',
    E => '6905214436', G => 'Русе', H => 'ул. Мостова 4', P => 'Гараж', S => '18 квм',
    T => 'Русе', V => 'Здравец', AB => '63427.5.410', AC => 12, AD => 55, AE => '15.06.2007' },
  # 13: one month from the last day of January ends on the last day of February
  { A => '9/2007', B => '20.01.2007', C => 'Наем терен', D => 'Пазар Юг ООД',
    E => '201983452', G => 'Русе', H => 'ул. Тулча 1', P => 'Сергия', R => 'Търговия',
    S => '6 квм', T => 'Русе', U => 'Централен пазар', AC => 1, AD => 75,
    AE => '31.01.2007' },
  # 14: premises with two annexes
  { A => '10/2007', B => '01.07.2007', C => 'Наем помещение/сграда',
    D => 'Стефка Маринова Илиева', E => '6402117780', G => 'Русе', H => 'ул. Николаевска 40',
    P => 'Ателие', S => '35 квм', T => 'Русе', W => 'ул. Николаевска', X => '40',
    AB => '63427.2.1177.1.5', AC => 36, AD => 210, AE => '01.07.2007' },
  { A => '10/2007', B => '15.12.2007', AD => 230, AE => '01.01.2008' },
  { A => '10/2007', B => '15.12.2008', AD => 250, AE => '01.01.2009', AF => '30.06.2010' },
  # 17: land in another village, hectares
  { A => '11/2007', B => '05.08.2007', C => 'Наем земеделска земя', D => 'Зърно Север ЕООД',
    E => '175620347', G => 'Бъзън', H => 'ул. Първа 1', I => 'Димитър Петков Димов',
    J => '7708086652', K => 'л.к. 987654321', N => '0888 123456', P => 'Нива',
    S => '2 хка', T => 'Бъзън', U => 'Каменлива', AB => '07231.15.7', AC => 48,
    AD => 950, AE => '01.10.2007' },
  # 18: advertising on a wall
  { A => '12/2007', B => '10.09.2007', C => 'Наем реклама', D => 'Медиа Плюс ООД',
    E => '400287515', F => 'BG400287515', G => 'София', H => 'бул. Витоша 10',
    P => 'Стена за реклама', S => '24 квм', T => 'Русе', W => 'ул. Борисова', X => '2',
    AC => 24, AD => 300, AE => '01.10.2007' },
  # 19: parking, slash date typed as text, price with a comma
  { A => '13/2007', B => '10/15/2007', C => 'Наем паркинг', D => 'Веселин Тодоров Ангелов',
    E => '8512121233', G => 'Русе', H => 'ул. Рила 9', P => 'Паркомясто', S => '12,5 квм',
    T => 'Русе', V => 'Чародейка', AC => 12, AD => '45,50', AE => '01.11.2007' },
  # 20: plot in a village of the municipality
  { A => '14/2007', B => '12.11.2007', C => 'Наем терен', D => 'Красимир Ганчев Русев',
    E => '7901019900', G => 'Мартен', H => 'ул. Дунав 3', P => 'Терен', S => '300 квм',
    T => 'Мартен', AB => '47336.501.77', AC => 24, AD => 150, AE => '01.12.2007' },
  # 21: premises with an annex that ends the contract earlier
  { A => '15/2007', B => '01.12.2007', C => 'Наем помещение/сграда', D => 'Книжарница Перо ЕТ',
    E => '123456786', G => 'Русе', H => 'ул. Александровска 60', P => 'Магазин',
    S => '28 квм', T => 'Русе', W => 'ул. Александровска', X => '60', AC => 24, AD => 400,
    AE => '01.01.2008' },
  { A => '15/2007', B => '15.05.2008', AE => '01.06.2008', AD => 420, AF => '31.12.2008' },
  # 23: the firm of row 4 again, found by its code
  { A => '16/2007', B => '14.12.2007', C => 'Наем земеделска земя', E => '203154728',
    I => 'Георги Стоянов Колев', J => '6808154321', P => 'Ливада', S => '4 дка',
    T => 'Николово', AB => '51679.21.3', AC => 36, AD => 300, AE => '01.01.2008' },
  # 24: premises, address with quotes
  { A => '1/2008', B => '10.01.2008', C => 'Наем помещение/сграда',
    D => 'Сдружение "Читалище Зора"', E => '176500322', P => 'Зала', R => 'Културни прояви',
    S => '120 квм', T => 'Русе', W => 'ул. Църковна независимост', X => '6',
    Y => 'ул. "Църковна независимост" 6, ет. 2', AC => 12, AD => 150, AE => '01.02.2008' },
  # 25: parking
  { A => '2/2008', B => '25.01.2008', C => 'Наем паркинг', D => 'Елена Кирилова Попова',
    E => '9004045566', G => 'Русе', H => 'ул. Олимп 1', P => 'Паркомясто', S => '12 квм',
    T => 'Русе', V => 'Хъшове', AC => 12, AD => 40, AE => '01.02.2008' },
  # 26: advertising
  { A => '3/2008', B => '01.02.2008', C => 'Наем реклама', D => 'Медиа Плюс ООД',
    E => '400287515', P => 'Билборд', S => '18 квм', T => 'Русе',
    W => 'бул. Трети март', AC => 12, AD => 250, AE => '01.03.2008' },
);

my %date_column = map { $_ => 1 } qw(B AE AF AG);
my %number_column = map { $_ => 1 } qw(AC AD);

my $book = Spreadsheet::WriteExcel->new($out) or die "Cannot write $out: $!\n";
my $sheet = $book->add_worksheet('Договори');
my $bold = $book->add_format(bold => 1, text_wrap => 1, valign => 'top');
my $date = $book->add_format(num_format => 'dd.mm.yyyy');
my $money = $book->add_format(num_format => '0.00');
my $text = $book->add_format(num_format => '@');

for my $i (0 .. $#columns) {
  my $col = $columns[$i];
  $sheet->write_string(0, $i, $header{$col}, $bold);
  my $typed = !$template ? undef
    : $date_column{$col} ? $date
    : $number_column{$col} ? ($col eq 'AD' ? $money : undef)
    : $text;
  $sheet->set_column($i, $i, 16, $typed);
}
$sheet->set_row(0, 45);
$sheet->freeze_panes(1, 0);
@rows = () if $template;

my $r = 1;
for my $row (@rows) {
  for my $i (0 .. $#columns) {
    my $col = $columns[$i];
    next unless exists $row->{$col} && $row->{$col} ne '';
    my $v = $row->{$col};
    if ($date_column{$col} && $v =~ /^(\d\d)\.(\d\d)\.(\d{4})$/) {
      $sheet->write_date_time($r, $i, "$3-$2-$1T", $date);
    } elsif ($number_column{$col} && $v =~ /^-?\d+(\.\d+)?$/) {
      $sheet->write_number($r, $i, $v, $col eq 'AD' ? $money : undef);
    } else {
      $sheet->write_string($r, $i, $v, $text);
    }
  }
  $r++;
}
$book->close() or die "Cannot write $out: $!\n";
