reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'fill.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'fill phase'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+06]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000)
plot 'figures-data/fill-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/fill-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree, best order', 'figures-data/fill-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/fill-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'sorted_vector', 'figures-data/fill-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'std_map', 'figures-data/fill-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'absl_btree_map', 'figures-data/fill-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'std_unordered_map', 'figures-data/fill-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'floor'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'find.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'find phase'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+06]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000)
plot 'figures-data/find-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/find-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree, best order', 'figures-data/find-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/find-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'sorted_vector', 'figures-data/find-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'std_map', 'figures-data/find-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'absl_btree_map', 'figures-data/find-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'std_unordered_map', 'figures-data/find-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'floor'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'empty.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'empty phase'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+06]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000)
plot 'figures-data/empty-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/empty-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree, best order', 'figures-data/empty-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/empty-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'sorted_vector', 'figures-data/empty-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'std_map', 'figures-data/empty-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'absl_btree_map', 'figures-data/empty-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'std_unordered_map', 'figures-data/empty-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'floor'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'mix.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'mix phase'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+06]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000)
plot 'figures-data/mix-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/mix-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree, best order', 'figures-data/mix-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/mix-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'sorted_vector', 'figures-data/mix-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'std_map', 'figures-data/mix-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'absl_btree_map', 'figures-data/mix-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'std_unordered_map', 'figures-data/mix-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'floor'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'btree_order.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'BTree at n=1e5 against its order; dashed: absl_btree_map'
set logscale x 2
set xlabel 'order'
set ylabel 'ns per operation (median)'
set yrange [0:*]
plot 'figures-data/BTree-order-fill.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree fill', 90.1525 with lines dashtype 2 linewidth 2 linecolor rgb '#0072B2' title 'absl_btree_map fill', 'figures-data/BTree-order-find.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree find', 96.2558 with lines dashtype 2 linewidth 2 linecolor rgb '#D55E00' title 'absl_btree_map find', 'figures-data/BTree-order-empty.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree empty', 93.9972 with lines dashtype 2 linewidth 2 linecolor rgb '#009E73' title 'absl_btree_map empty', 'figures-data/BTree-order-mix.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree mix', 98.6751 with lines dashtype 2 linewidth 2 linecolor rgb '#CC79A7' title 'absl_btree_map mix'
reset
set terminal pngcairo size 960,900 noenhanced font ',11'
set output 'counts.png'
set grid
set key outside right top
set border 3
set tics nomirror
set yrange [0:*]
set multiplot layout 3,1 title 'Per operation at n=1e5, simulated caches: L1 data 32 KiB 8-way, last level 1 MiB 16-way, 64-byte lines'
set style data histograms
set style histogram clustered gap 1
set style fill solid 0.8 border -1
set boxwidth 0.9
set xtics rotate by -30 left
set xlabel ''
set key inside top left
set ylabel 'instructions'
plot 'figures-data/counts.dat' using 2:xtic(1) title 'find' linecolor rgb '#0072B2', '' using 3 title 'mix' linecolor rgb '#D55E00'
set ylabel 'L1 data misses'
plot 'figures-data/counts.dat' using 4:xtic(1) title 'find' linecolor rgb '#0072B2', '' using 5 title 'mix' linecolor rgb '#D55E00'
set ylabel 'last-level data misses'
plot 'figures-data/counts.dat' using 6:xtic(1) title 'find' linecolor rgb '#0072B2', '' using 7 title 'mix' linecolor rgb '#D55E00'
unset multiplot
reset
set terminal pngcairo size 960,1488 noenhanced font ',11'
set output 'targets.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'Our time over the peer''s, with 95 % intervals; crosses: the goals'
set xlabel 'ratio (below 1: ours is faster)'
set logscale x
set ytics scale 0 font ',8'
set yrange [-1:76]
set arrow from first 1, graph 0 to first 1, graph 1 nohead dashtype 2
set key bottom right
unset grid
set grid xtics
plot 'figures-data/targets.dat' using 3:1:4:5:ytic(2) with xerrorbars pointtype 7 linecolor rgb '#0072B2' title 'ratio', '' using 6:1 with points pointtype 2 pointsize 1.5 linecolor rgb '#D55E00' title 'goal'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'ascending_insert.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'ascending insert'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/ascending_insert-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/ascending_insert-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/ascending_insert-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/ascending_insert-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/ascending_insert-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/ascending_insert-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/ascending_insert-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/ascending_insert-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'ascending_find.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'ascending find'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/ascending_find-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/ascending_find-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/ascending_find-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/ascending_find-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/ascending_find-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/ascending_find-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/ascending_find-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/ascending_find-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'descending_insert.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'descending insert'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/descending_insert-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/descending_insert-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/descending_insert-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/descending_insert-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/descending_insert-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/descending_insert-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/descending_insert-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/descending_insert-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'zipf_find.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'zipf find'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/zipf_find-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/zipf_find-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/zipf_find-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/zipf_find-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/zipf_find-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/zipf_find-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/zipf_find-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/zipf_find-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'miss_find.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'miss find'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/miss_find-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/miss_find-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/miss_find-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/miss_find-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/miss_find-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/miss_find-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/miss_find-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/miss_find-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'fifo.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'fifo'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per step (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/fifo-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/fifo-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/fifo-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/fifo-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/fifo-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/fifo-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/fifo-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/fifo-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'walk.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'walk (no ordered scan: std_unordered_map)'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per visited entry (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/walk-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/walk-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/walk-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/walk-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/walk-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/walk-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/walk-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'short_scan.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'short scan (no ordered scan: std_unordered_map)'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per scan (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/short_scan-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/short_scan-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/short_scan-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/short_scan-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/short_scan-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/short_scan-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/short_scan-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'short_scan_zipf.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'short scan zipf (no ordered scan: std_unordered_map)'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per scan (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/short_scan_zipf-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/short_scan_zipf-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/short_scan_zipf-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/short_scan_zipf-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/short_scan_zipf-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/short_scan_zipf-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/short_scan_zipf-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_a.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core a'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/core_a-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/core_a-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/core_a-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/core_a-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_a-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/core_a-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_a-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_a-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_b.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core b'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/core_b-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/core_b-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/core_b-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/core_b-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_b-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/core_b-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_b-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_b-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_c.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core c'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/core_c-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/core_c-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/core_c-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/core_c-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_c-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/core_c-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_c-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_c-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_f.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core f'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/core_f-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/core_f-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/core_f-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/core_f-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_f-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/core_f-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_f-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_f-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_d.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core d'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/core_d-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/core_d-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/core_d-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/core_d-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_d-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/core_d-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_d-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_d-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_e.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core e (no ordered scan: std_unordered_map)'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/core_e-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/core_e-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/core_e-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/core_e-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_e-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/core_e-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_e-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'cold_ascending_insert.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'cold ascending insert'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per operation (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/cold_ascending_insert-0.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/cold_ascending_insert-1.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/cold_ascending_insert-2.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree, best order', 'figures-data/cold_ascending_insert-3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/cold_ascending_insert-4.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'sorted_vector', 'figures-data/cold_ascending_insert-5.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/cold_ascending_insert-6.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/cold_ascending_insert-7.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'huge_pages.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'Time with transparent huge pages / time without, n=1e6'
set ylabel 'ratio with its 95 % interval (below 1: faster)'
set yrange [0:*]
set style data histograms
set style histogram errorbars gap 1 linewidth 1
set style fill solid 0.8 border -1
set boxwidth 0.9
set xtics rotate by -30 left
set arrow from graph 0, first 1 to graph 1, first 1 nohead dashtype 2
plot 'figures-data/huge-pages.dat' using 2:3:4:xtic(1) title 'fill' linecolor rgb '#0072B2', 'figures-data/huge-pages.dat' using 5:6:7 title 'find' linecolor rgb '#D55E00', 'figures-data/huge-pages.dat' using 8:9:10 title 'empty' linecolor rgb '#009E73', 'figures-data/huge-pages.dat' using 11:12:13 title 'mix' linecolor rgb '#CC79A7'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'fill_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'fill, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.2204, graph 0 to first 3.2204, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.2204, graph 0.95 offset 0.5,0
plot 'figures-data/fill_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/fill_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/fill_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/fill_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/fill_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/fill_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/fill_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/fill_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'find_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'find, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 2.9751, graph 0 to first 2.9751, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 2.9751, graph 0.95 offset 0.5,0
plot 'figures-data/find_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/find_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/find_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/find_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/find_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/find_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/find_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/find_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'mix_latency_1e4.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'mix, n=1e4: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.9914, graph 0 to first 3.9914, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.9914, graph 0.95 offset 0.5,0
plot 'figures-data/mix_latency-10000-VectorMap.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/mix_latency-10000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/mix_latency-10000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_32', 'figures-data/mix_latency-10000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_64', 'figures-data/mix_latency-10000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'BTree_128', 'figures-data/mix_latency-10000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/mix_latency-10000-sorted_vector.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'sorted_vector', 'figures-data/mix_latency-10000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_map', 'figures-data/mix_latency-10000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' dashtype 3 pointtype 12 pointsize 1.3 title 'absl_btree_map', 'figures-data/mix_latency-10000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' dashtype 3 pointtype 13 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'mix_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'mix, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 2.79833, graph 0 to first 2.79833, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 2.79833, graph 0.95 offset 0.5,0
plot 'figures-data/mix_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/mix_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/mix_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/mix_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/mix_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/mix_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/mix_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/mix_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'ascending_insert_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'ascending_insert, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.93554, graph 0 to first 3.93554, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.93554, graph 0.95 offset 0.5,0
plot 'figures-data/ascending_insert_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/ascending_insert_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/ascending_insert_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/ascending_insert_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/ascending_insert_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/ascending_insert_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/ascending_insert_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/ascending_insert_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'descending_insert_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'descending_insert, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.96257, graph 0 to first 3.96257, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.96257, graph 0.95 offset 0.5,0
plot 'figures-data/descending_insert_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/descending_insert_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/descending_insert_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/descending_insert_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/descending_insert_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/descending_insert_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/descending_insert_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/descending_insert_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'fifo_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'fifo, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.75203, graph 0 to first 3.75203, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.75203, graph 0.95 offset 0.5,0
plot 'figures-data/fifo_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/fifo_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/fifo_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/fifo_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/fifo_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/fifo_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/fifo_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/fifo_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_a_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core_a, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.10182, graph 0 to first 3.10182, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.10182, graph 0.95 offset 0.5,0
plot 'figures-data/core_a_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/core_a_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/core_a_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/core_a_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/core_a_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_a_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_a_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_a_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_b_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core_b, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.42829, graph 0 to first 3.42829, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.42829, graph 0.95 offset 0.5,0
plot 'figures-data/core_b_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/core_b_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/core_b_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/core_b_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/core_b_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_b_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_b_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_b_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_c_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core_c, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.4034, graph 0 to first 3.4034, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.4034, graph 0.95 offset 0.5,0
plot 'figures-data/core_c_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/core_c_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/core_c_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/core_c_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/core_c_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_c_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_c_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_c_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_f_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core_f, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.37779, graph 0 to first 3.37779, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.37779, graph 0.95 offset 0.5,0
plot 'figures-data/core_f_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/core_f_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/core_f_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/core_f_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/core_f_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_f_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_f_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_f_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_d_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core_d, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 3.57675, graph 0 to first 3.57675, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 3.57675, graph 0.95 offset 0.5,0
plot 'figures-data/core_d_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/core_d_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/core_d_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/core_d_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/core_d_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_d_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_d_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map', 'figures-data/core_d_latency-1000000-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_unordered_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'core_e_latency_1e6.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'core_e, n=1e6: ns per call at each percentile (timer 20.0 ns, included)'
set logscale y
set xlabel 'percentile'
set ylabel 'ns per call'
set xtics ('50' 0.30103, '90' 1, '99' 2, '99.9' 3, '99.99' 4)
set xrange [0.25:4.1]
set arrow from first 2.4908, graph 0 to first 2.4908, graph 1 nohead dashtype 3 linewidth 2 linecolor rgb '#666666'
set label "the machine's\nreach" at first 2.4908, graph 0.95 offset 0.5,0
plot 'figures-data/core_e_latency-1000000-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'BTree_3', 'figures-data/core_e_latency-1000000-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_32', 'figures-data/core_e_latency-1000000-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_64', 'figures-data/core_e_latency-1000000-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_128', 'figures-data/core_e_latency-1000000-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/core_e_latency-1000000-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'std_map', 'figures-data/core_e_latency-1000000-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'absl_btree_map'
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'finds_dependent.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'Finds: independent (solid) and dependent on the previous result (dashed)'
set logscale xy
set xlabel 'records (n)'
set ylabel 'ns per find (median)'
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/finds-independent_find-VectorMap.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/finds-dependent_find-VectorMap.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' dashtype 2 pointtype 4 pointsize 1.3 notitle, 'figures-data/finds-independent_find-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/finds-dependent_find-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' dashtype 2 pointtype 5 pointsize 1.3 notitle, 'figures-data/finds-independent_find-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_32', 'figures-data/finds-dependent_find-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' dashtype 2 pointtype 6 pointsize 1.3 notitle, 'figures-data/finds-independent_find-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_64', 'figures-data/finds-dependent_find-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' dashtype 2 pointtype 7 pointsize 1.3 notitle, 'figures-data/finds-independent_find-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'BTree_128', 'figures-data/finds-dependent_find-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' dashtype 2 pointtype 8 pointsize 1.3 notitle, 'figures-data/finds-independent_find-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/finds-dependent_find-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' dashtype 2 pointtype 9 pointsize 1.3 notitle, 'figures-data/finds-independent_find-sorted_vector.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'sorted_vector', 'figures-data/finds-dependent_find-sorted_vector.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' dashtype 2 pointtype 10 pointsize 1.3 notitle, 'figures-data/finds-independent_find-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_map', 'figures-data/finds-dependent_find-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' dashtype 2 pointtype 11 pointsize 1.3 notitle, 'figures-data/finds-independent_find-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' dashtype 3 pointtype 12 pointsize 1.3 title 'absl_btree_map', 'figures-data/finds-dependent_find-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' dashtype 2 pointtype 12 pointsize 1.3 notitle, 'figures-data/finds-independent_find-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' dashtype 3 pointtype 13 pointsize 1.3 title 'std_unordered_map', 'figures-data/finds-dependent_find-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' dashtype 2 pointtype 13 pointsize 1.3 notitle
reset
set terminal pngcairo size 960,600 noenhanced font ',11'
set output 'round_trips.png'
set grid
set key outside right top
set border 3
set tics nomirror
set title 'Dependent finds in round trips of the machine''s memory at their size'
set logscale x
set xlabel 'records (n)'
set ylabel 'round trips per find (median)'
set yrange [0:*]
set xrange [666.667:1.5e+07]
set xtics ('1e3' 1000, '1e4' 10000, '1e5' 100000, '1e6' 1000000, '1e7' 10000000)
plot 'figures-data/round-trips-VectorMap.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' pointtype 4 pointsize 1.3 title 'VectorMap', 'figures-data/round-trips-BTree_3.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' pointtype 5 pointsize 1.3 title 'BTree_3', 'figures-data/round-trips-BTree_32.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#009E73' pointtype 6 pointsize 1.3 title 'BTree_32', 'figures-data/round-trips-BTree_64.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#CC79A7' pointtype 7 pointsize 1.3 title 'BTree_64', 'figures-data/round-trips-BTree_128.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#E69F00' pointtype 8 pointsize 1.3 title 'BTree_128', 'figures-data/round-trips-AVLBinaryTree.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#56B4E9' pointtype 9 pointsize 1.3 title 'AVLBinaryTree', 'figures-data/round-trips-sorted_vector.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#000000' pointtype 10 pointsize 1.3 title 'sorted_vector', 'figures-data/round-trips-std_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#999999' pointtype 11 pointsize 1.3 title 'std_map', 'figures-data/round-trips-absl_btree_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#0072B2' dashtype 3 pointtype 12 pointsize 1.3 title 'absl_btree_map', 'figures-data/round-trips-std_unordered_map.dat' using 1:2 with linespoints linewidth 2 linecolor rgb '#D55E00' dashtype 3 pointtype 13 pointsize 1.3 title 'std_unordered_map'
