#!/usr/bin/perl
# Seeds for the fuzz targets, made from small tables by the fixture script:
#
#   perl tests/fuzz/make_seeds.pl CORPUS_FOLDER
#
# writes CORPUS_FOLDER/xls, xlsx, parts (the XML parts of each .xlsx joined by "\n@@\n") and
# number_format (an 8-byte value followed by a format code).
use strict;
use warnings;
use File::Basename qw(dirname);
use File::Path qw(make_path);
use Archive::Zip qw(:ERROR_CODES);

my $corpus = shift or die "usage: make_seeds.pl CORPUS_FOLDER\n";
my $script = dirname(__FILE__) . '/../fixtures/make_workbook.pl';
make_path(map { "$corpus/$_" } qw(xls xlsx parts number_format tables));

my @formats = ('0.00', '#,##0.00', '0000000000', '0%', '0.00" лв."', '@', 'dd.mm.yyyy',
               'm/d/yyyy h:mm', '[h]:mm:ss', '0.00E+00', '# ?/?', '[>=100]0;[Red]-0.00;"нула";@',
               '_-* #,##0.00 лв_-;-* #,##0.00 лв_-;_-* "-"?? лв_-;_-@_-', '[$лв.-402] #,##0');
my %tables = (
    mixed => '[[{"text":"Номер"},{"text":"  дата "},{"number":1234.5,"format":"#,##0.00"}],'
           . '[{"date":"2007-03-15","format":"dd.mm.yyyy"},{"date":"2007-03-15","time":"10:20:30"},'
           . '{"number":41010101,"format":"0000000000"}],null,'
           . '[{"formula":"=C1*2","value":2469},{"formula":"=\"a\"&\"б\"","value":"aб"},'
           . '{"formula":"=1=1","value":"TRUE"},{"formula":"=1/0","value":"#DIV/0!"}]]',
    formats => '[' . join(',', map { '[{"number":-1234.5678,"format":' . quote($_) . '},{"text":"t","format":'
                                      . quote($_) . '}]' } @formats) . ']',
    long => '[[{"text":"' . ('щ' x 9000) . '"},{"text":"' . ('z' x 20000) . '"}]]',
    wide => '[[' . join(',', map { '{"number":' . $_ . '}' } 1 .. 40) . ']]',
);
for my $name (sort keys %tables) {
    my $json = "$corpus/tables/$name.json";
    open(my $out, '>:raw', $json) or die "$json: $!\n";
    print $out '{"rows":' . $tables{$name} . '}';
    close $out;
    for my $ext (qw(xls xlsx)) {
        system('perl', $script, $json, "$corpus/$ext/$name.$ext") == 0 or die "fixture script failed\n";
    }
    my $zip = Archive::Zip->new();
    $zip->read("$corpus/xlsx/$name.xlsx") == AZ_OK or die "cannot read $name.xlsx\n";
    my @parts = map { my $m = $zip->memberNamed($_); $m ? scalar $zip->contents($_) : '' }
        qw(xl/workbook.xml xl/styles.xml xl/sharedStrings.xml xl/worksheets/sheet1.xml);
    open(my $parts, '>:raw', "$corpus/parts/$name") or die;
    print $parts join("\n@@\n", @parts);
    close $parts;
}
my $i = 0;
for my $code (@formats) {
    open(my $out, '>:raw', "$corpus/number_format/" . $i++) or die;
    print $out pack('d<', -1234.5678), $code;
    close $out;
}

sub quote {
    my ($text) = @_;
    $text =~ s/(["\\])/\\$1/g;
    return "\"$text\"";
}
