#!/usr/bin/perl
# Seeds for the fuzz targets, made from small tables by the fixture script:
#
#   perl tests/fuzz/make_seeds.pl CORPUS_FOLDER
#
# writes CORPUS_FOLDER/xls, xlsx, parts (the XML parts of each .xlsx joined by "\n@@\n"),
# number_format (an 8-byte value followed by a format code) and ods (content.xml of .ods
# packages).
use strict;
use warnings;
use File::Basename qw(dirname);
use File::Path qw(make_path);
use Archive::Zip qw(:ERROR_CODES);

my $corpus = shift or die "usage: make_seeds.pl CORPUS_FOLDER\n";
my $script = dirname(__FILE__) . '/../fixtures/make_workbook.pl';
make_path(map { "$corpus/$_" } qw(xls xlsx parts number_format tables ods));

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

# content.xml of .ods packages: typed values with and without displayed text, repeated rows
# and cells, paragraphs with marks, an annotation, an error and a second table.
my $ods_head = '<?xml version="1.0" encoding="UTF-8"?><office:document-content'
    . ' xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
    . ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
    . ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body>'
    . '<office:spreadsheet><table:table table:name="A">';
my $ods_tail = '</table:table><table:table table:name="B"><table:table-row><table:table-cell>'
    . '<text:p>b</text:p></table:table-cell></table:table-row></table:table>'
    . '</office:spreadsheet></office:body></office:document-content>';
my %ods = (
    typed => '<table:table-row><table:table-cell office:value-type="date"'
        . ' office:date-value="2007-03-15T10:20:30"/><table:table-cell office:value-type="float"'
        . ' office:value="1234.5"/><table:table-cell office:value-type="percentage"'
        . ' office:value="0.25"/><table:table-cell office:value-type="time"'
        . ' office:time-value="PT10H20M30S"/><table:table-cell office:value-type="boolean"'
        . ' office:boolean-value="true"/><table:table-cell office:value-type="string"'
        . ' office:string-value="s"/></table:table-row>',
    text => '<table:table-row table:number-rows-repeated="3"><table:table-cell'
        . ' table:number-columns-repeated="2" office:value-type="string"><office:annotation>'
        . '<text:p>бележка</text:p></office:annotation><text:p>a<text:s text:c="3"/>b<text:tab/>'
        . '<text:span>в</text:span><text:line-break/></text:p><text:p>два</text:p>'
        . '</table:table-cell><table:table-cell table:formula="of:=1/0"><text:p>#DIV/0!</text:p>'
        . '</table:table-cell><table:covered-table-cell/></table:table-row>'
        . '<table:table-row table:number-rows-repeated="1048570"><table:table-cell'
        . ' table:number-columns-repeated="1024"/></table:table-row>',
);
for my $name (sort keys %ods) {
    open(my $out, '>:raw', "$corpus/ods/$name") or die;
    print $out $ods_head, $ods{$name}, $ods_tail;
    close $out;
}

sub quote {
    my ($text) = @_;
    $text =~ s/(["\\])/\\$1/g;
    return "\"$text\"";
}
